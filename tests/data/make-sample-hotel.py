#!/usr/bin/python3
"""Writes the sample hotel: the documents a small property's database holds,
as one extended JSON file {"collection": [documents...], ...} that the test
server loads with --seed.

Activity is time-stamped relative to the moment the script runs (local wall
clock, 17-digit texts as the product stores them), so a report run right after
seeding always finds a full day of guest activity in its window.

  make-sample-hotel.py [--out FILE] [--guests N] [--activities N] [--hours H]
                       [--seed N]

The defaults make the demo hotel; the benchmark asks for many more guests and
activities. Collections of the other reports ("mdsactivity", "recording",
"wakeuplog") are written empty for now, so one seed file serves all three.
"""

import argparse
import datetime
import json
import random
import sys

TENANTS = [("1", "Main"), ("2", "Harbour Wing"), ("3", "Conference Centre")]

FIRST = ["Ana", "Ben", "Chloe", "Daniel", "Elif", "Farid", "Grace", "Hiro",
         "Ines", "Jonas", "Kaia", "Liam", "Mara", "Noah", "Olga", "Pavel",
         "Rosa", "Sami", "Tara", "Umar", "Vera", "Wen", "Yusuf", "Zoe"]
LAST = ["Alvarez", "Brandt", "Costa", "Dubois", "Eriksen", "Fischer", "Garcia",
        "Haddad", "Ivanova", "Jensen", "Kowalski", "Lindqvist", "Moreau",
        "Novak", "Okafor", "Petrov", "Quinn", "Rossi", "Schmidt", "Tanaka"]
STAFF = ["frontdesk", "operator", "night audit", "housekeeping", "pms"]

# (activity, method, possible results, detail, weight): the events of a
# guest's stay, with the interfaces that usually report them.
EVENTS = [
    (21, 9, [0], "Checked in", 6),
    (22, 9, [0], "Checked out", 3),
    (1, 2, [0], "Lamp on", 8),
    (2, 2, [0], "Lamp off", 6),
    (12, 1, [0], "Message left", 8),
    (13, 29, [0, 6], "Delivery", 3),
    (14, 1, [0], "Message played", 7),
    (15, 1, [0], "Message removed", 3),
    (20, 1, [0], "Message kept", 2),
    (24, 1, [0], "07:00", 4),
    (3, 1, [1, 1, 3, 2], "Wake-up", 4),
    (25, 1, [0], "Cancelled by guest", 1),
    (28, 1, [0, 6], "", 2),
    (8, 1, [0], "", 5),
    (9, 1, [0, 7], "", 5),
    (26, 13, [0], "2", 2),
    (23, 9, [0], "Name change", 1),
]


def object_id(seconds, counter):
    """A deterministic ObjectId: creation seconds, then a running counter."""
    return {"$oid": "%08x%016x" % (seconds & 0xFFFFFFFF, counter)}


def db_time(moment):
    return moment.strftime("%Y%m%d%H%M%S") + "%03d" % (moment.microsecond // 1000)


def guest_mailboxes(count, rng, created):
    boxes = []
    for i in range(count):
        floor = 1 + i // 20
        room = floor * 100 + 1 + i % 20
        number = str(room)
        tenant = TENANTS[i % len(TENANTS)][0]
        occupied = rng.random() < 0.8
        box = {
            "_id": number,
            "type": 5,
            "tenantid": tenant,
            "cosname": "guest",
            "sdafile": "standard",
            "password": "6284",
            "language": 0,
            "timezone": -800,
            "created": created,
            "updated": created,
            "name": {
                "title": rng.choice(["Mr", "Ms", "Dr", ""]),
                "first_display": rng.choice(FIRST) if occupied else "",
                "last_display": rng.choice(LAST) if occupied else "",
            },
            "room": {
                "roomid": number + ("A" if i % 7 == 3 else ""),
                "occupied": occupied,
                "status": 1 if occupied else 0,
                "textcount": 0,
                "vip": i % 11 == 0,
                "restrict": "",
            },
            "extension": [{"definition": number, "pos": 0}],
        }
        boxes.append(box)
    return boxes


# Staff and system boxes have five-digit numbers, above every room number the
# script makes (floor 1 to 150 for up to 3,000 guests).
STAFF_BOXES = ["90000", "90001", "90999"]


def other_mailboxes(created):
    """Staff and system boxes: in the mailbox collection, not in the report."""
    return [
        {"_id": STAFF_BOXES[0], "type": 1, "tenantid": "1", "cosname": "admin",
         "created": created, "updated": created,
         "name": {"first_display": "Front", "last_display": "Desk"},
         "extension": [{"definition": STAFF_BOXES[0], "pos": 0}]},
        {"_id": STAFF_BOXES[1], "type": 3, "tenantid": "1", "cosname": "staff",
         "created": created, "updated": created,
         "name": {"first_display": "Night", "last_display": "Audit"}},
        {"_id": STAFF_BOXES[2], "type": 2, "tenantid": "1", "cosname": "system",
         "created": created, "updated": created},
    ]


def activities(count, numbers, hours, rng, now):
    weights = [e[4] for e in EVENTS]
    span_ms = int(hours * 3600 * 1000)
    moments = sorted(now - datetime.timedelta(milliseconds=rng.randrange(1, span_ms))
                     for _ in range(count))
    docs = []
    base_seconds = int(now.timestamp()) - int(hours * 3600)
    for i, moment in enumerate(moments):
        activity, method, results, detail, _ = rng.choices(EVENTS, weights)[0]
        # One in twenty events concerns a staff or system box.
        mailbox = rng.choice(STAFF_BOXES) if rng.random() < 0.05 else rng.choice(numbers)
        docs.append({
            "_id": object_id(base_seconds + i, i),
            "timestamp": db_time(moment),
            "mailbox": mailbox,
            "activity": activity,
            "method": method,
            "result": rng.choice(results),
            "line": rng.randrange(1, 49),
            "detail": detail,
            "username": rng.choice(STAFF) if method != 1 else "guest",
            "msgtofrom": rng.choice(numbers) if activity in (12, 13, 14) else "",
            "number": "",
            "uniqueid": "%012d" % i,
        })
    return docs


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default="-")
    parser.add_argument("--guests", type=int, default=24)
    parser.add_argument("--activities", type=int, default=160)
    parser.add_argument("--hours", type=float, default=23.0)
    parser.add_argument("--seed", type=int, default=7)
    args = parser.parse_args()
    if not 1 <= args.guests <= 3000 or args.activities < 0 or args.hours <= 0:
        parser.error("guests must be 1 to 3000, activities at least 0, hours above 0")

    rng = random.Random(args.seed)
    now = datetime.datetime.now()
    created = db_time(now - datetime.timedelta(days=30))
    guests = guest_mailboxes(args.guests, rng, created)
    numbers = [box["_id"] for box in guests]

    hotel = {
        "config": [{
            "_id": "siteinfo",
            "sitename": "Hotel Meridian Bay",
            "sitephone": "555 0100",
            "siteaddress1": "1 Harbour Road",
            "siteaddress2": "",
            "sitecity": "Port Ellen",
            "sitestate": "",
            "siteszip": "PA42 7DU",
            "sitecountry": "Scotland",
            "dealername": "Northlight Telecom",
            "dealerphone": "555 0199",
        }],
        "tenant": [{"_id": tid, "name": name} for tid, name in TENANTS],
        "mailbox": guests + other_mailboxes(created),
        "reportmbactivity": activities(args.activities, numbers, args.hours, rng, now),
        "mdsactivity": [],
        "recording": [],
        "wakeuplog": [],
    }

    out = sys.stdout if args.out == "-" else open(args.out, "w", encoding="ascii")
    with out:
        json.dump(hotel, out, indent=1 if args.activities <= 1000 else None)
        out.write("\n")


if __name__ == "__main__":
    main()
