// The page's schedules: a file dropped or chosen is handed to the schedule module (in a worker, so
// that the page stays responsive; in the page itself when it is opened from disk), its counts,
// kelvo-calc's words and first rows shown, the result offered for download. No rule is here.
"use strict";

(function () {
  const $ = (id) => document.getElementById(id);
  let worker = null; // the worker of the run under way
  let run = 0; // the run under way (0: none); "Отмена" ends it, even while its file is still read
  let runs = 0;
  let download = null; // the address of the last result offered

  const fromDisk = !location.protocol.startsWith("http");
  function loadScript(src) {
    return new Promise((resolve, reject) => {
      const script = document.createElement("script");
      script.src = src;
      script.onload = resolve;
      script.onerror = () => reject(new Error(src));
      document.head.append(script);
    });
  }

  function lines(answer, name) {
    return answer.split("\n").filter((line) => line.startsWith(`${name}\t`)).map((line) => line.slice(name.length + 1));
  }
  function value(answer, name) {
    return lines(answer, name)[0] || "";
  }

  function showProgress(text) {
    $("schedule-progress").hidden = false;
    $("schedule-progress").querySelector("span").textContent = text;
  }

  function show(answer, result, type) {
    $("schedule-progress").hidden = true;
    $("schedule-result").hidden = false;
    const status = value(answer, "status");
    const said = lines(answer, "say");
    $("schedule-said").replaceChildren(...said.map((line) => Object.assign(document.createElement("li"), { textContent: line })));
    const counts = $("schedule-counts");
    counts.classList.toggle("fault", status === "2");
    if (status === "2") {
      counts.textContent = "Файл не рассчитан: результата нет.";
      $("schedule-download").hidden = true;
      $("schedule-rows").replaceChildren();
      return;
    }
    counts.textContent = value(answer, "counts");
    if (download) URL.revokeObjectURL(download);
    download = URL.createObjectURL(new Blob([result], { type }));
    const link = $("schedule-download");
    link.href = download;
    link.download = value(answer, "result");
    link.textContent = `Скачать ${value(answer, "result")}`;
    link.hidden = false;
    showRows(lines(answer, "row").map((row) => row.split("\t")));
  }

  // The result's first rows; a row with a message is marked, as the schedule window marks it.
  function showRows(rows) {
    const header = rows.findIndex((row) => row.includes("сообщение"));
    const message = header >= 0 ? rows[header].lastIndexOf("сообщение") : -1;
    const table = $("schedule-rows");
    table.replaceChildren(
      ...rows.map((row, index) => {
        const tr = document.createElement("tr");
        if (index > header && message >= 0 && row[message]) tr.className = "message";
        for (const field of row) {
          const cell = document.createElement(index === header ? "th" : "td");
          cell.textContent = field;
          tr.append(cell);
        }
        return tr;
      })
    );
  }

  const TYPES = {
    ".csv": "text/csv",
    ".xlsx": "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet",
    ".ods": "application/vnd.oasis.opendocument.spreadsheet",
  };
  function typeOf(name) {
    return TYPES[name.slice(name.lastIndexOf("."))] || "application/octet-stream";
  }

  async function open(file) {
    cancel();
    const id = (run = ++runs);
    $("schedule-result").hidden = true;
    showProgress(`Расчет «${file.name}»…`);
    const job = {
      name: file.name.replace(/[/\\]/g, "_"),
      ending: $("schedule-format").value,
      sheet: $("schedule-sheet").value.trim(),
    };
    let bytes;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch {
      bytes = null;
    }
    if (id !== run) return; // cancelled, or another file chosen, while this one was read
    job.bytes = bytes;
    // A run ended by "Отмена" or by the next file shows nothing (from disk it cannot be stopped).
    const done = ({ answer, result }) => {
      if (id !== run) return;
      run = 0;
      show(answer, result, typeOf(value(answer, "result")));
    };
    const failed = (error) => {
      if (id !== run) return;
      run = 0;
      $("schedule-progress").hidden = true;
      $("schedule-result").hidden = false;
      $("schedule-counts").textContent = `Расчет прерван: ${error}`;
      $("schedule-counts").classList.add("fault");
    };
    if (!bytes) return failed("файл не прочитан");
    if (fromDisk) {
      // From disk a page may start no worker: the calculation runs here, the page waits.
      try {
        if (typeof KelvoSchedule === "undefined") {
          await loadScript("kelvo-schedule.js");
          await loadScript("schedule-run.js");
        }
        done(await kelvoRunSchedule(job, () => {}));
      } catch (error) {
        failed(error.message || String(error));
      }
      return;
    }
    start(job, done, failed, 1);
  }

  // A worker whose scripts fail to load before it says anything is started once more (a network
  // that dropped a request); a run that failed once it was under way is not. A worker ended by
  // "Отмена" or by the next file is heard no more: its last error must not restart its run or end
  // the next one.
  function start(job, done, failed, retries) {
    const bytes = job.bytes.slice();
    let heard = false;
    const own = new Worker("schedule-worker.js");
    worker = own;
    own.onmessage = ({ data }) => {
      if (own !== worker) return;
      heard = true;
      if (data.rows !== undefined) return showProgress(`Обработано строк: ${data.rows}`);
      stopWorker();
      if (data.failure) failed(data.failure);
      else done(data);
    };
    own.onerror = (event) => {
      if (own !== worker) return;
      stopWorker();
      if (!heard && retries > 0) start({ ...job, bytes }, done, failed, retries - 1);
      else failed(event.message || "ошибка модуля расчета");
    };
    own.postMessage(job, [job.bytes.buffer]);
  }

  function stopWorker() {
    if (!worker) return;
    worker.onmessage = worker.onerror = null;
    worker.terminate();
    worker = null;
  }
  // Ends the run under way; false when there was none.
  function cancel() {
    stopWorker();
    const was = run !== 0;
    run = 0;
    return was;
  }

  $("schedule-cancel").addEventListener("click", () => {
    if (!cancel()) return;
    $("schedule-progress").hidden = true;
    $("schedule-result").hidden = false;
    $("schedule-counts").textContent = "Расчет отменен: результата нет.";
    $("schedule-counts").classList.add("fault");
    $("schedule-download").hidden = true;
    $("schedule-rows").replaceChildren();
    $("schedule-said").replaceChildren();
  });
  $("schedule-cancel").hidden = fromDisk;
  $("schedule-file").addEventListener("change", (event) => {
    if (event.target.files[0]) open(event.target.files[0]);
    event.target.value = "";
  });
  const drop = $("schedule-drop");
  drop.addEventListener("dragover", (event) => {
    event.preventDefault();
    drop.classList.add("over");
  });
  drop.addEventListener("dragleave", () => drop.classList.remove("over"));
  drop.addEventListener("drop", (event) => {
    event.preventDefault();
    drop.classList.remove("over");
    if (event.dataTransfer.files[0]) open(event.dataTransfer.files[0]);
  });
})();
