#!/usr/bin/python3
"""Checks the CSV exchange against CHIRP's own generic CSV code (the chirp package Debian ships).

Export: a plan of every kind of channel is exported by kq904-cli and read by CHIRP; every channel
CHIRP leaves out or reads differently is listed, with the export warning that names it.
Import: files as CHIRP writes them, and as people edit them, are read by CHIRP (what the file
means) and imported by kq904-cli; every channel that comes out different is listed, with the
import problem that names it.

A change that no warning names is SILENT; the script exits 1 when there is one.

    scripts/install-deps.sh --chirp      # once: CHIRP and its Python modules
    scripts/chirp-csv-check.py [build/bin]

Not part of make test: it needs CHIRP, which the build does not.
"""

import csv
import io
import logging
import os
import re
import subprocess
import sys
import tempfile

try:
    from chirp import chirp_common
    from chirp.drivers import generic_csv
except ImportError:
    sys.exit("CHIRP is not installed: run scripts/install-deps.sh --chirp "
             "(and use the system python3)")

# CHIRP logs every row it refuses with its whole tone list; the report says it once.
logging.disable(logging.CRITICAL)

BIN = sys.argv[1] if len(sys.argv) > 1 else "build/bin"
CLI = os.path.join(BIN, "kq904-cli")

# Our own format, with what CHIRP's 18 columns cannot say: CrossMode, RxDtcsCode, Power.
HEADER = ("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
          "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,"
          "RPT2CALL,DVCODE")
PLAN = [
    "1,TSQL,146.520000,,0.000000,TSQL,100.0,100.0,023,NN,023,Tone->Tone,FM,5.00,,High",
    "2,T150,146.550000,,0.000000,Tone,150.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,High",
    "3,Q150,146.580000,,0.000000,TSQL,150.0,150.0,023,NN,023,Tone->Tone,FM,5.00,,High",
    "4,DTTO,151.625000,,0.000000,Cross,88.5,123.0,754,NN,023,DTCS->Tone,FM,6.25,,High",
    "5,RXDCS,151.625000,,0.000000,Cross,88.5,88.5,023,NN,411,->DTCS,NFM,6.25,,High",
    "6,TOTO,151.625000,,0.000000,Cross,71.9,74.4,023,NN,023,Tone->Tone,FM,6.25,,High",
    "7,DCS,442.100000,+,5.000000,DTCS,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High",
    "8,LOW,146.940000,-,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,NFM,5.00,S,Low",
    "9,WX,162.550000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High",
    "10,SAT,145.800000,split,435.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High",
    "11,DD,151.625000,,0.000000,Cross,88.5,88.5,023,NN,025,DTCS->DTCS,FM,6.25,,High",
    "12,TD,151.625000,,0.000000,Cross,88.5,88.5,023,NN,754,Tone->DTCS,FM,6.25,,High",
]


def base_set(path):
    """A configuration with five-character names, bands 136-174 and 400-480 MHz, no IF."""
    data = bytearray(b"\x30" * 3765)
    factory = bytearray(40)
    factory[16:20] = (136000000).to_bytes(4, "little")
    factory[20:24] = (174000000).to_bytes(4, "little")
    factory[24:28] = (400000000).to_bytes(4, "little")
    factory[28:32] = (480000000).to_bytes(4, "little")
    data[0:40] = factory
    general = bytearray(24)
    general[3] = 1  # channelCount
    general[9] = general[10] = 3
    general[23] = 0x04  # five-character names
    data[1024:1048] = general
    data[1048:1072] = bytes(24)  # code and identity settings
    data[1536:1553] = bytes(17)
    data[2048:2939] = bytes(891)
    data[3072:3765] = bytes(693)
    with open(path, "wb") as f:
        f.write(data)


def cli(*args):
    run = subprocess.run([CLI, *args], capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit("kq904-cli %s failed:\n%s" % (" ".join(args), run.stderr))
    return [line for line in run.stderr.splitlines() if line]


def chirp_read(path):
    """The memories CHIRP makes of a file, by location, and its errors. CHIRP's load() opens the
    file with mode "rU", which Python 3.11 no longer has; the file is opened as "rU" meant."""
    radio = generic_csv.CSVRadio(None)
    radio._blank()
    with open(path, "r") as f:
        try:
            radio._load(f)
        except Exception as e:  # "No channels found"
            radio.errors.append(str(e))
    memories = {m.number: m for m in radio.memories if not m.empty}
    return memories, radio.errors


def tone(mode, value):
    if mode == "Tone":
        return "%.1f Hz" % float(value)
    if mode == "DTCS":
        return "D%03d" % int(value)
    return "none"


def transmit(freq, duplex, offset):
    if duplex == "off":
        return "off"
    if duplex == "split":
        return offset
    return freq + {"+": offset, "-": -offset}.get(duplex, 0)


def chirp_channel(m):
    """A memory as a radio programmed from CHIRP would have it."""
    (txmode, txval, _), (rxmode, rxval, _) = chirp_common.split_tone_encode(m)
    return {
        "name": m.name,
        "receive": m.freq,
        "transmit": transmit(m.freq, m.duplex, m.offset),
        "tx tone": tone(txmode, txval),
        "rx tone": tone(rxmode, rxval),
        "mode": m.mode,
        "scan": m.skip != "S",
        "power": "default" if m.power is None else str(m.power),
    }


def own_channels(text):
    """Rows of our own format, read with every column it has."""
    channels = {}
    for row in csv.DictReader(io.StringIO(text)):
        rt, ct = row["rToneFreq"], row["cToneFreq"]
        dt, rdt = row["DtcsCode"], row.get("RxDtcsCode", row["DtcsCode"])
        mode = row["Tone"]
        tx = rx = ("", None)
        if mode == "Tone":
            tx = ("Tone", rt)
        elif mode == "TSQL":
            tx = rx = ("Tone", ct)
        elif mode == "DTCS":
            tx = rx = ("DTCS", dt)
        elif mode == "Cross":
            a, b = row["CrossMode"].split("->")
            tx = {"Tone": ("Tone", rt), "DTCS": ("DTCS", dt)}.get(a, ("", None))
            rx = {"Tone": ("Tone", ct), "DTCS": ("DTCS", rdt)}.get(b, ("", None))
        freq = chirp_common.parse_freq(row["Frequency"])
        channels[int(row["Location"])] = {
            "name": row["Name"],
            "receive": freq,
            "transmit": transmit(freq, row["Duplex"],
                                 chirp_common.parse_freq(row["Offset"])),
            "tx tone": tone(*tx),
            "rx tone": tone(*rx),
            "mode": row["Mode"],
            "scan": row["Skip"] != "S",
            "power": row.get("Power", "High"),
        }
    return channels


def named(warnings, channel, line=None):
    """The warnings that name the channel (or the line of the file)."""
    found = []
    for w in warnings:
        m = re.search(r"(?:^|: )channels? ([0-9, -]+):", w)
        if m and str(channel) in re.split(r"[, ]+", m.group(1)):
            found.append(w)
        elif "(channel %d)" % channel in w or (line and "line %d:" % line in w):
            found.append(w)
    return found


class Tally:
    def __init__(self):
        self.checked = self.kept = self.warned = self.silent = 0

    def channel(self, title, differences, warnings):
        self.checked += 1
        if not differences:
            self.kept += 1
            return
        state = "warned" if warnings else "SILENT"
        if warnings:
            self.warned += 1
        else:
            self.silent += 1
        print("  %s: %s [%s]" % (title, "; ".join(differences), state))
        for w in warnings:
            print("      " + w)


def differences(expected, actual, ignore=()):
    if actual is None:
        return ["left out"]
    return ["%s %s -> %s" % (k, expected[k], actual[k])
            for k in expected if k not in ignore and expected[k] != actual[k]]


def check_export(tmp, tally):
    print("Export: our file, read by CHIRP %s" % chirp_common.CHIRP_VERSION)
    plan = os.path.join(tmp, "plan.csv")
    with open(plan, "w", newline="") as f:
        f.write(HEADER + "\r\n" + "".join(row + ",,,,,\r\n" for row in PLAN))
    cli("import-csv", "--data-dir", tmp, plan, os.path.join(tmp, "base.set"),
        os.path.join(tmp, "plan.set"))
    exported = os.path.join(tmp, "export.csv")
    warnings = cli("export-csv", "--data-dir", tmp, os.path.join(tmp, "plan.set"), exported)
    with open(exported, newline="") as f:
        ours = own_channels(f.read())
    memories, errors = chirp_read(exported)
    for e in errors:
        print("  CHIRP: " + e[:100])
    for number, expected in sorted(ours.items()):
        actual = chirp_channel(memories[number]) if number in memories else None
        diff = differences(expected, actual, ignore=("power",) if expected["power"] == "High"
                           else ())
        tally.channel("channel %d" % number, diff, named(warnings, number))


BANDS = [(136000000, 174000000), (400000000, 480000000)]  # those of base_set


def outside_bands(channel):
    frequencies = [channel["receive"]]
    if channel["transmit"] != "off":
        frequencies.append(channel["transmit"])
    return any(not any(low <= f <= high for low, high in BANDS) for f in frequencies)


def chirp_file(path):
    """A file as CHIRP itself saves one: its 18 columns, "Cross" without the cross mode."""
    radio = generic_csv.CSVRadio(None)
    radio._blank()

    def memory(number, name, freq, **attrs):
        m = chirp_common.Memory(number)
        m.name, m.freq = name, freq
        for k, v in attrs.items():
            setattr(m, k, v)
        radio.set_memory(m)

    memory(1, "Call", 146520000, tmode="TSQL", ctone=100.0)
    memory(2, "RPT", 146940000, duplex="-", offset=600000, tmode="Tone", rtone=88.5, mode="NFM")
    memory(3, "UHF", 442100000, duplex="+", offset=5000000, tmode="DTCS", dtcs=23)
    memory(4, "Cross", 151625000, tmode="Cross", rtone=67.0, ctone=71.9)
    memory(5, "Zürich", 147000000, skip="S")
    memory(6, "Air-1", 121500000)
    memory(7, "SAT", 145800000, duplex="split", offset=435000000)
    radio.save(path)


def variants(tmp, original):
    """Edited copies of CHIRP's file that CHIRP still reads."""
    with open(original, newline="") as f:
        rows = list(csv.reader(f))
    header = rows[0]

    def write(name, rows_out):
        path = os.path.join(tmp, name)
        with open(path, "w", newline="") as f:
            csv.writer(f).writerows(rows_out)
        return path

    drop = header.index("cToneFreq")
    only_rtone = write("only-rtone.csv", [r[:drop] + r[drop + 1:] for r in rows])
    short = [list(r) for r in rows]
    short[3] = short[3][:10]  # line 4: fewer fields than the header
    short_rows = write("short-row.csv", short)
    loose = [list(r) for r in rows]
    loose[3][header.index("DtcsCode")] = "0023"
    loose[2][header.index("Offset")] = ".6"
    loose_numbers = write("dtcs-0023-offset-.6.csv", loose)
    return [original, only_rtone, short_rows, loose_numbers]


def check_import(tmp, tally):
    print("Import: CHIRP's files, imported by kq904-cli")
    original = os.path.join(tmp, "chirp.csv")
    chirp_file(original)
    for path in variants(tmp, original):
        print(" %s" % os.path.basename(path))
        memories, errors = chirp_read(path)
        for e in errors:
            print("  CHIRP: " + e[:100])
        out = os.path.join(tmp, "imported.set")
        problems = cli("import-csv", "--data-dir", tmp, path, os.path.join(tmp, "base.set"), out)
        back = os.path.join(tmp, "back.csv")
        cli("export-csv", "--data-dir", tmp, out, back)
        with open(back, newline="") as f:
            ours = own_channels(f.read())
        for number in sorted(memories):
            line = number + 1  # CHIRP saved locations 1-7 on lines 2-8
            expected = chirp_channel(memories[number])
            diff = differences(expected, ours.get(number), ignore=("power",))
            if outside_bands(expected):
                diff.append("outside the radio's bands")
            tally.channel("channel %d" % number, diff, named(problems, number, line))
        for e in errors:
            m = re.search(r"line (\d+)", e, re.IGNORECASE)
            refused = m and named(problems, 0, int(m.group(1)))
            print("  CHIRP refused line %s; kq904-cli %s" % (
                m.group(1) if m else "?", "refused it too" if refused else "DID NOT"))
            if not refused:
                tally.silent += 1


def main():
    with tempfile.TemporaryDirectory() as tmp:
        base_set(os.path.join(tmp, "base.set"))
        with open(os.path.join(tmp, "kq904.ini"), "w") as f:
            f.write("channel_name")
        tally = Tally()
        check_export(tmp, tally)
        check_import(tmp, tally)
        print("%d channels checked: %d unchanged, %d changed with a warning, %d changed silently"
              % (tally.checked, tally.kept, tally.warned, tally.silent))
        return 1 if tally.silent else 0


if __name__ == "__main__":
    sys.exit(main())
