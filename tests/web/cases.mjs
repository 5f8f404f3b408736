// Lines for the page test, made from a seed: forward (by power or current), reverse and with the
// disconnection check; numbers as people type them (a point now and then), and some that are no
// number or missing. Each case is also a row of a schedule for kelvo-calc.
import { createRequire } from "node:module";

const COLUMNS = ["расчет", "мощность_кВт", "ток_А", "сечение_мм2", "род_тока", "напряжение_В", "материал",
  "проводник", "прокладка", "длина_м", "потери_%", "кратность"];
const CHECK_COLUMNS = ["сопротивление_петли_Ом", "характеристика", "сечение_PE_мм2"];
const CONDITION_COLUMNS = ["температура_среды_С", "число_кабелей_рядом", "расстояние_между_кабелями_мм"];

// The module's own lists (sections, multiplicities), read through the page's module in node.
let module = null;
export async function loadLists(site) {
  const KelvoModule = createRequire(import.meta.url)(`${site}/kelvo.js`);
  const m = await KelvoModule();
  const text = (name, ...args) => m.ccall(name, "string", args.map((a) => typeof a), args);
  module = {
    sections: (material, conductor) => text("kelvo_sections", material, conductor).split("\n").filter(Boolean),
    multiplicities: text("kelvo_multiplicities").split("\n").filter(Boolean).slice(1),
  };
}

function random(seed) {
  let state = seed >>> 0;
  return () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

export function cases(count, seed) {
  const r = random(seed);
  const pick = (list) => list[Math.floor(r() * list.length)];
  const number = (max, decimals) => {
    const value = (r() * max).toFixed(decimals);
    return value.replace(/\.?0+$/, "") || "0";
  };
  // As typed: a comma or, now and then, a point; and what the page turns it into.
  const typed = (text) => (r() < 0.15 ? text.replace(",", ".") : text);
  const list = [];
  for (let i = 0; i < count; i++) {
    const c = {};
    c.kind = r() < 0.6 ? "прямой" : "обратный";
    c.known = r() < 0.6 ? "мощность_кВт" : "ток_А";
    c.supply = pick(["1ф", "1ф", "3ф", "3ф", "постоянный"]);
    c.conductor = pick(["провод", "кабель"]);
    c.material = pick(["медь", "медь", "алюминий"]);
    c.laying = c.conductor === "провод" ? pick(["p1", "p2", "p3", "p4", "p5", "p6"])
      : pick(["k1", "k2", "k3", "k4", "k5", "k6", "k7", "k8", "k9"]);
    const load = c.known === "ток_А" ? number(400, pick([0, 1, 2])) : number(pick([5, 30, 200]), pick([0, 1, 2]));
    c.load = r() < 0.05 ? pick(["", "abc", "-3"]) : load.replace(".", ",");
    c.typedLoad = typed(c.load);
    c.section = pick(module.sections(c.material, c.conductor));
    c.voltage = c.supply === "3ф" ? pick(["380", "220", "400"]) : c.supply === "постоянный" ? pick(["12", "24", "110"]) : pick(["220", "230", "127"]);
    const length = r() < 0.05 ? pick(["", "0", "x"]) : number(pick([30, 150, 600]), pick([0, 0, 1])).replace(".", ",");
    c.length = length === "0" && r() < 0.5 ? "1" : length;
    c.typedLength = typed(c.length);
    c.loss = pick(["4", "5", "6", "7", "8", "9", "10"]);
    c.multiplicity = pick(module.multiplicities);
    if (r() < 0.3) {
      c.conditions = true;
      c.ambient = pick(["", "40", "27", "-10", "0,5", "55"]);
      c.cables = pick(["", "1", "2", "4", "7"]);
      c.distance = pick(["", "100", "250", "50"]);
    }
    if (r() < 0.3) {
      c.check = true;
      c.characteristic = pick(["B", "C", "D"]);
      c.upstream = pick(["0", "0,1", "0,3", "0,8", "1,5"]);
      c.pe = r() < 0.5 ? "" : pick(module.sections(c.material, c.conductor));
    }
    list.push(c);
  }
  return list;
}

// The case as a schedule's row (the header for null) of a schedule with the check's columns or the
// conditions' or both.
export function rowOf(c, withCheck, withConditions) {
  const names = [...COLUMNS, ...(withConditions ? CONDITION_COLUMNS : []), ...(withCheck ? CHECK_COLUMNS : [])];
  if (!c) return names;
  const value = {
    "расчет": c.kind,
    "мощность_кВт": c.kind === "прямой" && c.known === "мощность_кВт" ? c.load : "",
    "ток_А": c.kind === "прямой" && c.known === "ток_А" ? c.load : "",
    "сечение_мм2": c.kind === "обратный" ? c.section : "",
    "род_тока": c.supply, "напряжение_В": c.voltage, "материал": c.material, "проводник": c.conductor,
    "прокладка": c.laying, "длина_м": c.length, "потери_%": c.loss, "кратность": c.multiplicity,
    "сопротивление_петли_Ом": c.upstream ?? "", "характеристика": c.characteristic ?? "", "сечение_PE_мм2": c.pe ?? "",
    "температура_среды_С": c.ambient ?? "", "число_кабелей_рядом": c.cables ?? "", "расстояние_между_кабелями_мм": c.distance ?? "",
  };
  return names.map((name) => value[name]);
}

// kelvo-calc's output: ";"-separated, quoted where a field needs it.
export function parseCsv(text) {
  const rows = [];
  let row = [], field = "", quoted = false;
  for (let i = 0; i < text.length; i++) {
    const ch = text[i];
    if (quoted) {
      if (ch === '"' && text[i + 1] === '"') field += '"', i++;
      else if (ch === '"') quoted = false;
      else field += ch;
    } else if (ch === '"') quoted = true;
    else if (ch === ";") row.push(field), field = "";
    else if (ch === "\n") row.push(field.replace(/\r$/, "")), rows.push(row), row = [], field = "";
    else field += ch;
  }
  if (field !== "" || row.length) row.push(field), rows.push(row);
  return rows;
}
