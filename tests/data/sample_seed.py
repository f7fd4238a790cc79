"""What the sample generators of the other collections share: the time text
of the database, the guest mailboxes of a generated hotel, and writing a
seed file for the test server."""

import json
import sys


def db_time(moment):
    return moment.strftime("%Y%m%d%H%M%S") + "%03d" % (moment.microsecond // 1000)


def guest_mailboxes(hotel_path, parser):
    """The mailbox documents of type 5 of the hotel file; a hotel without
    any is a usage error."""
    with open(hotel_path, encoding="ascii") as source:
        hotel = json.load(source)
    boxes = [box for box in hotel.get("mailbox", []) if box.get("type") == 5]
    if not boxes:
        parser.error("the hotel file has no guest mailboxes")
    return boxes


def write_seed(out_path, seed, count):
    """Writes the seed to the file, or to standard output for "-"; large
    seeds are written without indentation."""
    out = sys.stdout if out_path == "-" else open(out_path, "w", encoding="ascii")
    with out:
        json.dump(seed, out, indent=1 if count <= 300 else None)
        out.write("\n")
