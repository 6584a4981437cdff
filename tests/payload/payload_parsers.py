# Hands payload texts to the Python parsers that read them: vobject
# (vCard, with its validation), icalendar and vobject (iCalendar), segno's
# EPC builder (which must write the same text for the same fields) and
# urllib.parse (mailto: and tel: links).
#
# Input: one case a line, tab-separated: the kind, the text in hexadecimal
# UTF-8, then name=value pairs (value in hexadecimal) of the fields typed.
# Output: one line per case, "ok" or what differs.

import sys
import urllib.parse

import icalendar
import segno.helpers
import vobject


def vcard_fields(text):
    card = vobject.readOne(text, validate=True)
    out = [("fn", card.fn.value), ("family", card.n.value.family), ("given", card.n.value.given)]
    for line in card.getChildren():
        name = line.name.lower()
        if name == "email":
            out.append(("email", line.value))
        elif name == "tel":
            out.append(("tel", line.value))
        elif name == "adr":
            a = line.value
            out += [("street", a.street), ("city", a.city), ("region", a.region),
                    ("postcode", a.code), ("country", a.country)]
        elif name == "org":
            out.append(("org", ";".join(line.value)))
        elif name in ("title", "note", "nickname", "url", "photo", "geo"):
            out.append((name, line.value))
        elif name == "bday":
            out.append(("bday", line.value))
    return out


def ical_time(value):
    if hasattr(value, "hour"):
        text = value.strftime("%Y%m%dT%H%M%S")
        if value.tzinfo is not None:
            zone = getattr(value.tzinfo, "zone", None) or getattr(value.tzinfo, "key", None) \
                or str(value.tzinfo)
            return text + ("Z" if zone == "UTC" else "@" + zone)
        return text
    return value.strftime("%Y%m%d")


def event_fields(text, calendar):
    parsed = icalendar.Calendar.from_ical(text)
    event = parsed if not calendar else parsed.walk("VEVENT")[0]
    out = [("summary", str(event.get("SUMMARY")))]
    for name in ("LOCATION", "DESCRIPTION"):
        if name in event:
            out.append((name.lower(), str(event.get(name))))
    out.append(("start", ical_time(event.decoded("DTSTART"))))
    out.append(("end", ical_time(event.decoded("DTEND"))))
    if "RRULE" in event:
        out.append(("rrule", event.get("RRULE")["FREQ"][0]))
    for alarm in event.walk("VALARM"):
        out.append(("trigger", alarm.get("TRIGGER").to_ical().decode()))
    if calendar:
        # vobject validates what icalendar parsed: UID, DTSTAMP, PRODID.
        vobject.readOne(text, validate=True)
        out.append(("uid", str(event.get("UID"))))
    return out


def mailto_fields(text):
    link = urllib.parse.urlsplit(text)
    out = [("to", urllib.parse.unquote(link.path))]
    for name, value in urllib.parse.parse_qsl(link.query, keep_blank_values=True):
        out.append((name, value.replace("\r\n", "\n")))
    return out


def check(kind, text, expected):
    if kind == "epc":
        want = dict(expected)
        made = segno.helpers._make_epc_qr_data(
            want["name"], want["iban"], want.get("amount"), text=want.get("text"),
            reference=want.get("reference"), bic=want.get("bic"), purpose=want.get("purpose"),
            encoding="utf-8").decode("utf-8")
        return "ok" if made == text else "segno writes %r" % made
    if kind == "vcard":
        actual = vcard_fields(text)
    elif kind in ("event", "calendar"):
        actual = event_fields(text, kind == "calendar")
    elif kind == "mailto":
        actual = mailto_fields(text)
    elif kind == "tel":
        actual = [("number", urllib.parse.unquote(urllib.parse.urlsplit(text).path))]
    else:
        return "unknown kind " + kind
    for name in sorted({n for n, _ in expected}):
        want = sorted(v for n, v in expected if n == name)
        got = sorted(v for n, v in actual if n == name and v != "")
        want = [v for v in want if v != ""]
        if want != got:
            return "%s: %r, not %r" % (name, got, want)
    return "ok"


def main():
    for line in sys.stdin:
        parts = line.rstrip("\n").split("\t")
        text = bytes.fromhex(parts[1]).decode("utf-8")
        expected = []
        for pair in parts[2:]:
            name, _, value = pair.partition("=")
            expected.append((name, bytes.fromhex(value).decode("utf-8")))
        try:
            print(check(parts[0], text, expected))
        except Exception as error:  # a parser refusing the text is a finding, not a crash
            print("%s refused: %s: %s" % (parts[0], type(error).__name__, error))
        sys.stdout.flush()


main()
