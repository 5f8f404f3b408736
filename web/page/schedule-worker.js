// The schedule's worker: the calculation runs here, so that the page stays responsive; the page
// ends the worker for "Отмена".
"use strict";
importScripts("kelvo-schedule.js", "schedule-run.js");

self.onmessage = (event) => {
  kelvoRunSchedule(event.data, (rows) => self.postMessage({ rows })).then(
    ({ answer, result }) => self.postMessage({ answer, result }, result ? [result.buffer] : []),
    (error) => self.postMessage({ failure: String(error) })
  );
};
