// One schedule calculated by the schedule module (kelvo-schedule.js): the file put in the module's
// memory, calculated as kelvo-calc calculates it, the result read out. Used by the worker
// (schedule-worker.js) and, for a page opened from disk, by the page itself.
"use strict";

// job: { name, bytes (Uint8Array), ending (".csv", ".xlsx", ".ods" or "" for the input's own),
// sheet }; onRows(rows) now and then. Resolves to { answer (the module's lines), result (the
// result file's bytes, or null when none was written), heap (the module's memory, bytes) }.
function kelvoRunSchedule(job, onRows) {
  return KelvoSchedule({ onRows, print: () => {}, printErr: () => {} }).then((module) => {
    module.FS.mkdir("/in");
    module.FS.mkdir("/out");
    const input = `/in/${job.name}`;
    module.FS.writeFile(input, job.bytes);
    const answer = module.ccall("kelvo_schedule", "string", ["string", "string", "string", "string"],
      [input, "/out", job.ending, job.sheet]);
    const name = (answer.match(/^result\t(.*)$/m) || [])[1];
    let result = null;
    try {
      if (name && /^status\t[01]$/m.test(answer)) result = module.FS.readFile(`/out/${name}`);
    } catch (error) {
      result = null; // nothing written: the answer says why
    }
    // The module's memory only grows: its size now is the run's peak.
    return { answer, result, heap: module.HEAP8.length };
  });
}
