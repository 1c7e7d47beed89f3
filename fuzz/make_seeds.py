#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/<target>/: a few well-formed inputs per target that
take the fuzzer straight into the deep paths (a whole set file, a whole programming and reading
run with the right answers). Run it again after changing an input format."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(bytes(data))


def synth(hz, modulus=128):
    """Swallow, program-low and flags bytes of a synthesizer frequency."""
    step5k = hz % 6250 != 0
    n = hz // (5000 if step5k else 6250)
    program = n // modulus
    return [(n % modulus) << 1, program & 0xFF, (program >> 8) & 7 | (0x80 if step5k else 0)]


def set_file(count=10):
    factory = bytearray(40)
    factory[0:4] = struct.pack("<I", 21_400_000)
    factory[16:32] = struct.pack("<IIII", 136_000_000, 174_000_000, 400_000_000, 470_000_000)
    factory[32:37] = b"5.12\0"
    general = bytearray(24)
    general[3] = count
    general[9] = general[10] = 3
    records = bytearray()
    heads = bytearray()
    tails = bytearray()
    for n in range(99):
        tx = 145_000_000 + 12_500 * n
        records += bytes(synth(tx - 21_400_000) + [0x40 | n % 50] + synth(tx) + [0x40, 0x48])
        name = b"CH%02d\0" % (n + 1)
        heads += bytes([0x01, 0x23]) + name[0:2]
        tails += name[2:5]
    out = bytearray(b"0" * 3765)
    out[0:40] = factory
    out[1024:1048] = general
    out[1048:1064] = bytes(range(16))
    out[1064:1072] = struct.pack("<I", 1234567) + b"\x01\x02\x03\x04"
    out[1536:1553] = bytes([0xCF]) + bytes.fromhex("0123456789") + bytes(3) + bytes.fromhex("9876543210") + bytes([1])
    out[2048:2939] = records
    out[3072:3468] = heads
    out[3468:3765] = tails
    return out


def set_file_seeds():
    full = set_file()
    write("set_file", "full.set", full)
    write("set_file", "no-tails.set", full[:3468])
    write("set_file", "heads-only-start.set", full[:3072])
    write("set_file", "truncated-2000.set", full[:2000])
    write("set_file", "empty.set", b"")


def table_file_seeds():
    full = set_file(count=5)
    channel_tab = full[2048:2939] + full[3072:3765]
    set_tab = full[1024:1072]
    write("table_files", "channelTab", [0] + list(channel_tab))
    write("table_files", "channelTab-no-tails", [0] + list(channel_tab[:1287]))
    write("table_files", "setTab", [1] + list(set_tab))
    write("table_files", "factoryTab", [2] + list(full[0:40]))
    write("table_files", "killTab", [3] + list(full[1536:1553]))


def feature_flag_seeds():
    everything = (b"ani_version channel_name,\r\nVERSION_SHOW_ENABLE\tpower_delay_set_enable "
                  b"power_on_password\nshunting_radio_enable Factory\n")
    write("feature_flags", "all", [7] + list(b"factory") + list(everything))
    write("feature_flags", "beyond-200", [3] + list(b"ani") + list(b" " * 198 + b"factory"))
    write("feature_flags", "inside-words", [0] + list(b"xfactory my_channel_name factorx \x80factory"))


def label_seeds():
    write("channel_label", "tag", [6, 0, 0x01, 0x23, ord("a"), ord("B"), 0, 0, 0] + list(b"ab"))
    write("channel_label", "name", [98, 1, 0, 0, ord("R"), ord("P"), 0, ord("1"), 0xFF] + list(b"Gate-7"))
    write("channel_label", "utf8", [0, 1, 0, 0, 0xC3, 0x84, 0, 0, 0] + list("Ä€😀".encode()))


def form_text_seeds():
    value = list(struct.pack(">I", 145_125_000))
    seeds = {
        "channel-frequency": [0] + value + list(b"145.125"),
        "factory-frequency": [1] + value + list(b"21.4000"),
        "reference-counter": [2] + value + list(b"00001a2b"),
        "kill-id": [3] + value + list(b"0123456789"),
        "serial-number": [4] + value + list("12345é67".encode()),
        "radio-text": [5] + value + list("Ä€😀\u202e%s%n".encode()),
        "digits": [6] + value + list(b"12a34.5"),
    }
    for name, data in seeds.items():
        write("form_text", name, data)


def answer(n_ticks=2, kind=0):
    return [0x40 | ((n_ticks - 1) << 3) | kind]


def link_seeds():
    open_fast = 0x40 | (7 << 3)  # port already open, 128 bytes per tick
    # Programming three channels, every frame acknowledged.
    write("link", "program-3", [open_fast | 0, 3, 0] + answer() * 12)
    # The same on a port that opens now: 33 ticks of start delay first.
    write("link", "program-start-delay", [(7 << 3) | 0, 2, 1] + [0x80 | 5] + answer() * 10)
    # Reading two channels: settings blocks, then each channel's record and extra.
    general = [0] * 24
    general[3] = 2
    reading = answer() + general + answer() + list(range(14)) + answer() + list(range(8))
    for n in range(2):
        reading += answer() + [n] * 9 + answer() + [0x10 + n] * 7
    write("link", "read-2", [open_fast | 1, 10, 0] + reading)
    # Version request answered with the version word, then with "2" (which starts a reading).
    write("link", "version", [open_fast | 2, 5, 0] + answer() + [0x01, 0x23])
    write("link", "version-then-read", [open_fast | 2, 5, 0] + answer(kind=1) + reading)
    # Noise, a corrupted answer, then silence until the timeout; nested ticks in the outcome.
    write("link", "noise-timeout", [open_fast | 4, 1, 0, 0x05, 0x3C, 0x3C, 0x31, 0x3C, 0x3C, 0x3C, 0x02]
          + answer(kind=2) + [0x80 | 30])


def parser_seeds():
    """Bytes on the line: an acknowledge, a read reply behind noise, the longest frame, one too
    long, four '<' before the length, a corrupted checksum."""
    def wire(body):
        frame = [len(body) + 1] + body
        check = 0
        for b in frame:
            check ^= b
        return [0x3C] * 3 + frame + [check]
    write("receive_parser", "acknowledge", wire([0x31]))
    write("receive_parser", "noise-then-read-reply", [0x00, 0x3C, 0x3C, 0x41] + wire([0x72, 0, 8, 3, 1, 2, 3]))
    write("receive_parser", "longest-and-too-long", wire([0x57] + list(range(31))) + [0x3C] * 3 + [34] + list(range(34)))
    write("receive_parser", "four-preamble-bytes", [0x3C] * 4 + [0x31] * 40 + wire([0x66, 0x05, 0x12]))
    write("receive_parser", "bad-checksum", wire([0x31])[:-1] + [0x00] + wire([0x31]))


def radio_seeds():
    """What a programmer sends: a write and the read of it, "D", "F", a corrupted frame, a read
    past the EEPROM; each frame one chunk."""
    def wire(body):
        frame = [len(body) + 1] + body
        check = 0
        for b in frame:
            check ^= b
        return [0x3C] * 3 + frame + [check]
    frames = [wire([0x57, 0x00, 0x43, 4, 1, 2, 3, 4]), wire([0x52, 0x00, 0x43, 4]), wire([0x44]),
              wire([0x46]), wire([0x31])[:-1] + [0], wire([0x52, 0x07, 0xFF, 2])]
    data = []
    for f in frames:
        data += [len(f)] + f
    write("simulated_radio", "session", data)
    extra = wire([0x57, 0x05, 0x4A, 7] + [9] * 7)
    # The same write split over two chunks, 15 ms apart, then "D".
    write("simulated_radio", "split-write", [5] + extra[:5] + [len(extra) - 5] + extra[5:]
          + [len(wire([0x44]))] + wire([0x44]))


def csv_seeds():
    """The project's own CSV fixtures: both column sets, quoting, a file with problems."""
    fixtures = os.path.join(HERE, "..", "tests", "fixtures", "csv")
    for name in ["plan_21_columns_crlf.csv", "plan_17_columns_lf.csv", "quoted_bom_comments.csv",
                 "problems.csv", "not_a_channel_list.csv"]:
        with open(os.path.join(fixtures, name), "rb") as f:
            write("csv_import", name, f.read())


set_file_seeds()
table_file_seeds()
feature_flag_seeds()
label_seeds()
form_text_seeds()
link_seeds()
parser_seeds()
radio_seeds()
csv_seeds()
