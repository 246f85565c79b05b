#!/usr/bin/env python3
"""Exports JSON and CSV of every view with qla, reads them back with Python's json and csv
modules and compares them with what qla reports from its store (analyze, players, player).

Usage: check_json_csv.py QLA LOGGEN SCRATCH
"""
import csv
import json
import os
import shutil
import subprocess
import sys

QLA, LOGGEN, SCRATCH = sys.argv[1:4]
failures = []
passes = 0


def check(ok, what):
    global passes
    if ok:
        passes += 1
    else:
        failures.append(what)
        print("FAIL: " + what, file=sys.stderr)


def qla(*args):
    return subprocess.run([QLA, *args], check=True, capture_output=True).stdout.decode("utf-8")


def export(log, view, fmt, out, *extra):
    subprocess.run([QLA, "export", log, "--view", view, "--format", fmt, "--output", out, *extra],
                   check=True)
    return out


def read_csv(path, delimiter=","):
    raw = open(path, "rb").read()
    check(raw.endswith(b"\r\n"), f"{path}: the last record has no CR LF")
    check(b"\n" not in raw.replace(b"\r\n", b""), f"{path}: a bare LF outside CR LF")
    check(not any(b < 0x20 and b not in b"\t\r\n" for b in raw), f"{path}: a control character")
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f, delimiter=delimiter))
    header = rows[0]
    for n, row in enumerate(rows):
        check(len(row) == len(header), f"{path}: row {n} has {len(row)} fields, not {len(header)}")
    return [dict(zip(header, row)) for row in rows[1:]]


def terminal_safe(text):
    """A name as qla prints it to a terminal: C0 controls but tab, DEL and C1 controls escaped."""
    out = []
    for ch in text:
        code = ord(ch)
        if (code < 0x20 and ch != "\t") or code == 0x7F:
            out.append(f"\\x{code:02x}")
        elif 0x80 <= code <= 0x9F:
            out.append(f"\\u{code:04x}")
        else:
            out.append(ch)
    return "".join(out)


def as_csv(text):
    """A text as CSV writes it: C0 controls other than tab, CR and LF become U+FFFD."""
    return "".join("\ufffd" if ord(ch) < 0x20 and ch not in "\t\r\n" else ch for ch in text)


def unguarded(field):
    return field[1:] if field[:1] == "'" and field[1:2] in ("=", "+", "-", "@", "\t", "\r") else field


# A log of our own whose names and messages hold separators, quotes and formulas, added to a
# generated hostile log.
os.makedirs(SCRATCH, exist_ok=True)
log = os.path.join(SCRATCH, "formats.log")
subprocess.run([LOGGEN, "--lines", "2500", "--players", "50", "--seed", "21", "--hostile",
                "--output", log], check=True)
with open(log, "ab") as f:
    f.write("[skipnotify]=HYPERLINK(\"x\")^7: ^2a, b; \"quoted\" text\r\n".encode())
    f.write("[skipnotify]Semi;Colon^7: ^2-1+2 and \"\"\r\n".encode())
    f.write("[skipnotify]=HYPERLINK(\"x\")^7 was killed by Semi;Colon^7's MP40\r\n".encode())

# Totals of the dashboard JSON against qla analyze, players against qla players.
dashboard = json.load(open(export(log, "dashboard", "json", os.path.join(SCRATCH, "d.json"))))
check(dashboard["format"] == "quarvel-statistics" and dashboard["version"] == 1, "schema header")
analyzed = dict(line.split(": ", 1) for line in qla("analyze", log).splitlines())
t = dashboard["totals"]
for key, name in [("kills", "Kills"), ("deaths", "Deaths"), ("teamkills", "Teamkills"),
                  ("voiceChats", "Voicechats"), ("textChats", "Textchats"),
                  ("unknown", "Unknown"), ("lines", "Total"), ("players", "Players")]:
    check(t[key] == int(analyzed[name]), f"dashboard totals.{key} {t[key]} != {analyzed[name]}")
names = qla("players", log).splitlines()
check([terminal_safe(p["name"]) for p in dashboard["players"]] == names,
      "dashboard players differ from qla players")
for p in dashboard["players"][:12] + [p for p in dashboard["players"] if "HYPERLINK" in p["name"]]:
    stored = dict(line.split(": ", 1) for line in qla("player", log, p["name"]).splitlines())
    check((p["kills"], p["deaths"], p["teamkills"], p["textChats"]) ==
          (int(stored["Kills"]), int(stored["Deaths"]), int(stored["Teamkills"]),
           int(stored["Textchats"])), f"dashboard player {p['name']!r} differs from qla player")
    opponents_kills = sum(o["kills"] for o in p["opponents"])
    check(opponents_kills <= p["kills"], f"{p['name']!r}: more kills of opponents than kills")

# The standard view: JSON and CSV hold the same rows in the same order.
standard = json.load(open(export(log, "standard", "json", os.path.join(SCRATCH, "s.json"),
                                 "--order", "1", "--descending")))["players"]
kills = [p["kills"] for p in standard]
check(kills == sorted(kills, reverse=True), "standard json: --order 1 --descending is not by kills")
rows = read_csv(export(log, "standard", "csv", os.path.join(SCRATCH, "s.csv"), "--order", "1",
                       "--descending"))
check([unguarded(r["name"]) for r in rows] == [as_csv(p["name"]) for p in standard],
      "standard csv names")
check([int(r["kills"]) for r in rows] == kills, "standard csv kills")
check(any(r["name"].startswith("'=HYPERLINK") for r in rows), "a formula name is not guarded")
raw = read_csv(export(log, "standard", "csv", os.path.join(SCRATCH, "raw.csv"), "--raw-fields"))
check(any(r["name"].startswith("=HYPERLINK") for r in raw), "--raw-fields still guards")

# Chat: every message survives the round trip, with "," and ";" as separators.
for view in ("text", "voice"):
    messages = json.load(open(export(log, view, "json", os.path.join(SCRATCH, view + ".json"))))[
        "messages"]
    for sep in (",", ";"):
        rows = read_csv(export(log, view, "csv", os.path.join(SCRATCH, f"{view}{sep}.csv"),
                               "--separator", sep), delimiter=sep)
        check(len(rows) == len(messages), f"{view} csv ({sep}): {len(rows)} rows, {len(messages)} messages")
        for row, m in zip(rows, messages):
            got = (unguarded(row["player"]), row["location"], unguarded(row["text"]),
                   row["scope"] == "team")
            check(got == (as_csv(m["name"]), as_csv(m["location"]), as_csv(m["text"]), m["team"]),
                  f"{view} csv ({sep}): {got!r} != {m!r}")
text_messages = json.load(open(os.path.join(SCRATCH, "text.json")))["messages"]
check(any('"quoted"' in m["text"] and "," in m["text"] for m in text_messages),
      "the message with separators and quotes is missing")

# Player, weapons and junk views parse and agree with the store.
player = next(p for p in dashboard["players"] if "HYPERLINK" in p["name"])
details = json.load(open(export(log, "player", "json", os.path.join(SCRATCH, "p.json"),
                                "--player", player["name"])))
check(sum(r["count"] for r in details["sections"]["kills"]) <=
      details["player"]["kills"], "player kill rows add up to no more than the kills")
check(details["player"]["deaths"] == player["deaths"], "player json deaths")
rows = read_csv(export(log, "player", "csv", os.path.join(SCRATCH, "p.csv"), "--player",
                       player["name"]))
check(len(rows) == sum(len(v) for v in details["sections"].values()), "player csv rows")
weapons = json.load(open(export(log, "weapons", "json", os.path.join(SCRATCH, "w.json"))))["weapons"]
check(sum(w["kills"] for w in weapons) == sum(p["kills"] for p in dashboard["players"]),
      "weapon kills add up to the players' kills")
read_csv(export(log, "weapons", "csv", os.path.join(SCRATCH, "w.csv")))
junk = json.load(open(export(log, "junk", "json", os.path.join(SCRATCH, "j.json"))))["lines"]
check(len(junk) == t["unknown"], "junk json lines")
check(len(read_csv(export(log, "junk", "csv", os.path.join(SCRATCH, "j.csv")))) == len(junk),
      "junk csv rows")

shutil.rmtree(SCRATCH, ignore_errors=True)
print(f"{passes} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
