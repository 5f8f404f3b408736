// The page's script: it moves texts between the form and the calculation module (kelvo.js), and
// nothing more. Every figure, message, list and table comes from the module; no rule is here.
"use strict";

(function () {
  const form = document.getElementById("form");
  const $ = (id) => document.getElementById(id);
  let call = null; // the module's functions, once it is ready

  // The module answers in lines of "name<TAB>value".
  function lines(text) {
    return text.split("\n").filter((line) => line !== "");
  }
  function pairs(text) {
    const map = new Map();
    for (const line of lines(text)) {
      const tab = line.indexOf("\t");
      map.set(line.slice(0, tab), line.slice(tab + 1));
    }
    return map;
  }
  function checked(name) {
    const input = form.querySelector(`input[name="${name}"]:checked`);
    return input ? input.value : "";
  }
  function fill(select, entries, chosen) {
    select.replaceChildren(...entries.map((entry) => new Option(entry, entry, false, entry === chosen)));
  }

  // Which parts of the form and the results stand: forward or reverse, wire or cable, the check.
  function showParts() {
    const reverse = checked("расчет") === "обратный";
    const wire = checked("проводник") === "провод";
    document.body.classList.toggle("reverse", reverse);
    document.body.classList.toggle("wire", wire);
    document.body.classList.toggle("checking", $("check").open);
    document.body.classList.toggle("conditioned", $("conditions").open);
    for (const element of document.querySelectorAll(".reverse-only, .forward-only, .wire-only, .cable-only")) {
      const hidden =
        (element.classList.contains("reverse-only") && !reverse) ||
        (element.classList.contains("forward-only") && reverse) ||
        (element.classList.contains("wire-only") && !wire) ||
        (element.classList.contains("cable-only") && wire);
      element.hidden = hidden;
      for (const input of element.querySelectorAll("input, select")) input.disabled = hidden;
    }
    // The laying of the conductor kind shown: its first when none of it is chosen.
    const laying = form.querySelector('input[name="прокладка"]:checked');
    if (!laying || laying.disabled) form.querySelector(`.${wire ? "wire" : "cable"}-only input`).checked = true;
    const known = checked("known");
    $("load-caption").textContent = known === "ток_А" ? "Сила тока нагрузки, А" : "Мощность нагрузки, кВт";
    $("load-caption").dataset.hint = known === "ток_А" ? "txtI" : "txtP";
  }

  // The section lists of the material and conductor chosen (reverse calculation, PE conductor).
  function fillSections() {
    const sections = lines(call.sections(checked("материал"), checked("проводник")));
    fill($("section"), sections, $("section").value || sections[0]);
    const pe = $("pe").value;
    fill($("pe"), ["как фазная", ...sections], pe || "как фазная");
  }
  function fillVoltages() {
    const [shown, ...list] = lines(call.voltages(checked("род_тока")));
    $("voltages").replaceChildren(...list.map((voltage) => new Option(voltage)));
    $("voltage").value = shown;
  }

  // The form as a schedule row: "column<TAB>value" lines.
  function request() {
    const row = [["расчет", checked("расчет")]];
    const reverse = checked("расчет") === "обратный";
    if (reverse) row.push(["сечение_мм2", $("section").value]);
    else row.push([checked("known"), $("load").value]);
    for (const name of ["род_тока", "материал", "проводник", "прокладка"]) row.push([name, checked(name)]);
    for (const id of ["voltage", "length", "loss", "multiplicity"]) row.push([$(id).name, $(id).value]);
    if ($("conditions").open)
      for (const id of ["ambient", "cables", "distance"]) row.push([$(id).name, $(id).value]);
    if ($("check").open) {
      row.push(["сопротивление_петли_Ом", $("upstream").value]);
      row.push(["характеристика", $("characteristic").value]);
      row.push(["сечение_PE_мм2", $("pe").value === "как фазная" ? "" : $("pe").value]);
    }
    // A value is one field of the row: no tab or line break in it.
    return row.map(([name, value]) => `${name}\t${String(value).replace(/[\t\r\n]/g, " ")}`).join("\n");
  }

  function calculate() {
    if (!call) return;
    const result = pairs(call.calculate(request()));
    for (const cell of document.querySelectorAll("[data-result]")) cell.textContent = result.get(cell.dataset.result) || "";
    const summary = $("summary");
    summary.classList.toggle("fault", (result.get("сообщение") || "") !== "");
    summary.textContent = result.get("сводка") || "";
    document.body.classList.add("calculated");
  }

  function clearResults() {
    for (const cell of document.querySelectorAll("[data-result]")) cell.textContent = "";
    $("summary").textContent = "";
    $("summary").classList.remove("fault");
    document.body.classList.remove("calculated");
  }

  // The hint line follows the control in focus or under the pointer.
  function showHint(event) {
    const owner = event.target.closest("[data-hint]") || event.target.closest("label")?.querySelector("[data-hint]");
    const text = owner && call ? call.hints.get(owner.dataset.hint) : "";
    if (text !== undefined) $("hint").textContent = text || "";
  }

  // The reference tables and the help page, written by the module from the program's tables.
  function fillReference() {
    $("table-list").innerHTML = [101, 102, 103].map((which) => call.reference(which)).join("");
    $("help-text").innerHTML = call.reference(0);
  }
  function filterTables() {
    const wanted = $("filter").value.trim().toLowerCase();
    for (const row of document.querySelectorAll("#table-list tbody tr"))
      row.hidden = wanted !== "" && !row.textContent.toLowerCase().includes(wanted);
  }

  // One section of the page at a time, by the address's fragment.
  function showSection() {
    const sections = ["calc", "schedule", "tables", "help"];
    const id = sections.includes(location.hash.slice(1)) ? location.hash.slice(1) : "calc";
    for (const section of sections) $(section).hidden = section !== id;
    for (const link of document.querySelectorAll("nav a")) {
      if (link.getAttribute("href") === `#${id}`) link.setAttribute("aria-current", "page");
      else link.removeAttribute("aria-current");
    }
  }

  // A number typed with a point is shown with the program's comma.
  function commaInput(event) {
    const input = event.target;
    if (input.inputMode !== "decimal" || !input.value.includes(".")) return;
    const at = input.selectionStart;
    input.value = input.value.replace(/\./g, ",");
    if (at !== null) input.setSelectionRange(at, at);
  }

  function start(module) {
    const text = (name, ...args) => module.ccall(name, "string", args.map((a) => typeof a), args);
    call = {
      calculate: (request) => text("kelvo_calculate", request),
      sections: (material, conductor) => text("kelvo_sections", material, conductor),
      voltages: (supply) => text("kelvo_voltages", supply),
      reference: (which) => text("kelvo_reference", which),
      hints: pairs(text("kelvo_hints")),
    };
    // The hint table names several controls in one line.
    for (const [names, hint] of [...call.hints]) for (const name of names.split(" ")) call.hints.set(name, hint);
    const [first, ...multiplicities] = lines(text("kelvo_multiplicities"));
    fill($("multiplicity"), multiplicities, first);
    fillVoltages();
    fillSections();
    fillReference();
    for (const warning of document.querySelectorAll(".warning")) warning.textContent = text("kelvo_warning");
    showParts();
    $("loading").hidden = true;
    document.body.classList.add("ready");
  }

  form.addEventListener("submit", (event) => {
    event.preventDefault();
    calculate();
  });
  form.addEventListener("reset", () => {
    setTimeout(() => {
      showParts();
      if (call) {
        fillVoltages();
        fillSections();
      }
      clearResults();
    });
  });
  form.addEventListener("change", (event) => {
    const name = event.target.name;
    if (name === "род_тока") fillVoltages();
    if (name === "материал" || name === "проводник") fillSections();
    showParts();
  });
  form.addEventListener("input", commaInput);
  // The check's figures and the factor stand only beside the line they were calculated with.
  for (const [details, part] of [["check", ".check-only"], ["conditions", ".conditions-only"]])
    $(details).addEventListener("toggle", () => {
      for (const cell of document.querySelectorAll(`${part} [data-result]`)) cell.textContent = "";
      showParts();
    });
  for (const type of ["focusin", "pointerover"]) form.addEventListener(type, showHint);
  $("filter").addEventListener("input", filterTables);
  window.addEventListener("hashchange", showSection);
  showSection();

  KelvoModule().then(start, () => {
    $("loading").textContent = "Расчет не загрузился: браузер не поддерживает WebAssembly.";
  });

  // Offline: the service worker keeps the page; a new version waits for the next start.
  if ("serviceWorker" in navigator && location.protocol.startsWith("http")) {
    navigator.serviceWorker.register("sw.js").then((registration) => {
      registration.addEventListener("updatefound", () => {
        const worker = registration.installing;
        worker?.addEventListener("statechange", () => {
          if (worker.state === "installed" && navigator.serviceWorker.controller) $("update").hidden = false;
        });
      });
    });
  }
})();
