// Hands payload texts to the JavaScript parsers that read them: ical.js
// (iCalendar and vCard, as Thunderbird reads them), vcf (vCard) and
// swissqrbill (whose validation must accept a QR-bill and whose data text
// must equal ours for the same fields). Input and output as in
// payload_parsers.py.

const path = require("path");
const readline = require("readline");
const modules = path.join(__dirname, "..", "node_modules");
const ICAL = require(path.join(modules, "ical.js", "dist", "ical.es5.cjs"));
const VCard = require(path.join(modules, "vcf"));
const shared = path.join(modules, "swissqrbill", "lib", "cjs", "shared");
const { generateQRData } = require(path.join(shared, "qr-code.cjs"));
const { validateData } = require(path.join(shared, "validator.cjs"));

function values(card, name) {
  const prop = card.get(name);
  if (!prop) return [];
  return (Array.isArray(prop) ? prop : [prop]).map((p) => p.valueOf());
}

// vcf hands text values over as written; a contacts app reads the vCard 3.0
// escapes out of them.
const unescaped = (v) => String(v).replace(/\\([nN])|\\(.)/g, (m, n, c) => (n ? "\n" : c));

function vcardFields(text) {
  const card = new VCard().parse(text);
  if (card.version !== "3.0") throw new Error("vcf reads version " + card.version);
  const out = [];
  for (const name of ["fn", "email", "tel", "title", "note", "nickname", "url", "photo", "geo"]) {
    for (const v of values(card, name)) out.push([name, ["url", "photo", "geo"].includes(name) ? v : unescaped(v)]);
  }
  // ical.js, as Thunderbird reads a card: the same shown name, and the
  // address by its components. It keeps "\;" in single texts as written
  // (vCard 4 needs no escape there), which the comparison allows for.
  const component = new ICAL.Component(ICAL.parse(text));
  const fn = String(component.getFirstPropertyValue("fn")).replace(/\\;/g, ";");
  if (fn !== out[0][1]) throw new Error("ical.js shows the name " + JSON.stringify(fn));
  const n = component.getFirstPropertyValue("n");
  out.push(["family", String(n[0])], ["given", String(n[1])]);
  for (const p of component.getAllProperties("adr")) {
    const a = p.getFirstValue();
    const parts = Array.isArray(a) ? a : [a];
    ["", "", "street", "city", "region", "postcode", "country"].forEach((name, i) => {
      if (name) out.push([name, parts[i] === undefined ? "" : String(parts[i])]);
    });
  }
  return out;
}

// A time as "yyyyMMddThhmmss", "Z" for UTC, "@zone" for a named zone.
function icalTime(t) {
  const zoned = !t.isDate && t.timezone && t.zone !== ICAL.Timezone.utcTimezone;
  return t.toICALString() + (zoned ? "@" + t.timezone : "");
}

function eventFields(text, calendar) {
  let component = new ICAL.Component(ICAL.parse(text));
  if (calendar) component = component.getFirstSubcomponent("vevent");
  const event = new ICAL.Event(component);
  const out = [["summary", event.summary], ["location", event.location || ""],
               ["description", event.description || ""]];
  out.push(["start", icalTime(event.startDate)], ["end", icalTime(event.endDate)]);
  if (event.duration.isNegative || event.duration.toSeconds() <= 0) {
    out.push(["duration", event.duration.toString()]);
  }
  if (calendar) out.push(["uid", event.uid]);
  const rule = component.getFirstPropertyValue("rrule");
  if (rule) out.push(["rrule", rule.freq]);
  for (const alarm of component.getAllSubcomponents("valarm")) {
    out.push(["trigger", alarm.getFirstPropertyValue("trigger").toString()]);
  }
  return out;
}

function swissData(want) {
  const address = (party) => want[party + "-name"] === undefined ? undefined : {
    name: want[party + "-name"], address: want[party + "-street"],
    buildingNumber: want[party + "-building"], zip: want[party + "-postcode"],
    city: want[party + "-town"], country: want[party + "-country"],
  };
  const data = { creditor: { ...address("creditor"), account: want.iban }, currency: want.currency };
  if (want.amount !== undefined) data.amount = Number(want.amount);
  if (want.reference !== undefined) data.reference = want.reference;
  if (want.message !== undefined) data.message = want.message;
  if (want.billing !== undefined) data.additionalInformation = want.billing;
  if (address("debtor")) data.debtor = address("debtor");
  return data;
}

function check(kind, text, expected) {
  if (kind === "swiss") {
    const data = swissData(Object.fromEntries(expected));
    validateData(data);
    const made = generateQRData(data);
    return made === text ? "ok" : "swissqrbill writes " + JSON.stringify(made);
  }
  let actual;
  if (kind === "vcard") actual = vcardFields(text);
  else if (kind === "event" || kind === "calendar") actual = eventFields(text, kind === "calendar");
  else return "unknown kind " + kind;
  const names = new Set(expected.map(([n]) => n).concat(["duration"]));
  for (const name of [...names].sort()) {
    const want = expected.filter(([n, v]) => n === name && v !== "").map(([, v]) => v).sort();
    const got = actual.filter(([n, v]) => n === name && v !== "").map(([, v]) => v).sort();
    if (JSON.stringify(want) !== JSON.stringify(got)) {
      return name + ": " + JSON.stringify(got) + ", not " + JSON.stringify(want);
    }
  }
  return "ok";
}

const hex = (h) => Buffer.from(h, "hex").toString("utf8");
readline.createInterface({ input: process.stdin }).on("line", (line) => {
  const [kind, text, ...pairs] = line.split("\t");
  const expected = pairs.map((p) => {
    const eq = p.indexOf("=");
    return [p.slice(0, eq), hex(p.slice(eq + 1))];
  });
  try {
    console.log(check(kind, hex(text), expected));
  } catch (error) {
    console.log(kind + " refused: " + (error && error.message));
  }
});
