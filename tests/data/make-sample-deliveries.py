#!/usr/bin/python3
"""Writes the message deliveries and stored recordings of the sample hotel, as
an extended JSON seed file {"mdsactivity": [...], "recording": [...]} that the
test server loads with --seed beside the hotel itself.

The deliveries go to the guest mailboxes of the hotel file (made by
make-sample-hotel.py), under the guests' names, and are time-stamped relative
to the moment the script runs (local wall clock, 17-digit texts as the product
stores them), so a report run right after seeding finds them in its window.
Every delivery logs three activity entries: scheduled, delivered, and what
became of it.

  make-sample-deliveries.py --hotel FILE [--out FILE] [--deliveries N]
                            [--hours H] [--seed N]

The defaults make the demo's deliveries; the benchmark asks for many more.
"""

import argparse
import datetime
import random

from sample_seed import db_time, guest_mailboxes, write_seed

RECORDINGS = [
    (1, "Welcome", "Greeting on arrival"),
    (2, "Checkout reminder", "Played the day before departure"),
    (3, "Pool hours", "Pool and spa opening hours"),
    (12, "Breakfast", "Breakfast times and place"),
    (20, "Fire drill", "Announcement of the monthly drill"),
]

STAFF = ["frontdesk", "operator", "concierge", "night audit", "pms"]

# (type, description, weight): callouts and wellness checks are rarer.
KINDS = [
    (0, "Guest message", 8),
    (1, "Callout", 2),
    (2, "Checkout reminder", 3),
    (3, "Wellness check", 1),
]

# What finally became of a delivery at its mailbox, with weights.
OUTCOMES = [(3, 8), (4, 3), (5, 3), (6, 2), (7, 1), (8, 2), (9, 1), (10, 1)]

TEXTS = ["Your car is ready at the front door.", "A parcel is waiting at reception.",
         "The spa has a free slot at 4 pm today.", "Your table is booked for 8 pm."]


def guests_of(boxes):
    """(mailbox, room, name) of every guest mailbox of the hotel."""
    guests = []
    for box in boxes:
        name = box.get("name", {})
        full = ("%s %s" % (name.get("first_display", ""), name.get("last_display", ""))).strip()
        guests.append((box["_id"], box.get("room", {}).get("roomid", ""), full))
    return guests


def recordings():
    return [{
        "_id": "rec-%d" % number,
        "number": number,
        "name": name,
        "description": description,
        "type": 0,
        "files": [{"language": 101, "format": 1, "ttstext": "", "ttsvoice": ""}],
    } for number, name, description in RECORDINGS]


def message_fields(index, rng):
    """One of the three kinds of message: a voice file, a text or a recording."""
    kind = rng.random()
    if kind < 0.4:
        return {"filepath": "C:\\vs\\messages\\mds%06d.wav" % index, "text": "", "recid": ""}
    if kind < 0.7:
        return {"filepath": "", "text": rng.choice(TEXTS), "textvoice": "Anna", "recid": ""}
    return {"filepath": "", "text": "", "recid": str(rng.choice(RECORDINGS)[0])}


def deliveries(count, guests, hours, rng, now):
    weights = [k[2] for k in KINDS]
    span_ms = int(hours * 3600 * 1000)
    docs = []
    for i in range(count):
        created = now - datetime.timedelta(milliseconds=rng.randrange(60000, span_ms))
        deliver = min(now, created + datetime.timedelta(minutes=rng.randrange(0, 30)))
        kind, description, _ = rng.choices(KINDS, weights)[0]
        targets = rng.sample(guests, min(len(guests), rng.choice([1, 1, 1, 2])))
        recipients = [{"activity": 1, "mailbox": m, "name": n, "room": r, "completed": False}
                      for m, r, n in targets]
        mailbox = targets[0][0]
        outcome = rng.choices([o[0] for o in OUTCOMES], [o[1] for o in OUTCOMES])[0]
        steps = [(1, created), (2, deliver),
                 (outcome, min(now, deliver + datetime.timedelta(minutes=rng.randrange(1, 240))))]
        recipients[0]["activity"] = outcome
        recipients[0]["completed"] = outcome in (3, 4, 5)
        doc = {
            "_id": "mds-%06d" % i,
            "timestamp": db_time(created),
            "created": db_time(created),
            "deliver": db_time(deliver),
            "expiration": db_time(deliver + datetime.timedelta(days=1)) if rng.random() < 0.7 else "",
            "creator": rng.choice(STAFF),
            "description": description,
            "accountingid": "ACC-%04d" % rng.randrange(1, 10000) if rng.random() < 0.5 else "",
            "type": kind,
            "urgent": rng.random() < 0.15,
            "confirm": rng.random() < 0.3,
            "calloptions": 0,
            "daysbeforecheckout": 1 if kind == 2 else 0,
            "language": 101,
            "operator": False,
            "delafterpost": False,
            "contactnumber": "",
            "emailsent": "",
            "activity": [{"activity": code, "mailbox": mailbox, "timestamp": db_time(moment),
                          "detail": "", "number": ""} for code, moment in steps],
            "recipients": recipients,
            "emaillist": [{"emailaddress": "frontdesk@example.com"}] if rng.random() < 0.2 else [],
        }
        doc.update(message_fields(i, rng))
        docs.append(doc)
    return docs


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--hotel", required=True)
    parser.add_argument("--out", default="-")
    parser.add_argument("--deliveries", type=int, default=30)
    parser.add_argument("--hours", type=float, default=23.0)
    parser.add_argument("--seed", type=int, default=11)
    args = parser.parse_args()
    # Deliveries are made at least a minute before the run.
    if args.deliveries < 0 or args.hours * 60 <= 1:
        parser.error("deliveries must be at least 0, hours above 1/60")

    guests = guests_of(guest_mailboxes(args.hotel, parser))
    # Messages go to the rooms that have a guest, when there are any.
    guests = [g for g in guests if g[2]] or guests

    rng = random.Random(args.seed)
    now = datetime.datetime.now()
    seed = {
        "mdsactivity": deliveries(args.deliveries, guests, args.hours, rng, now),
        "recording": recordings(),
    }
    write_seed(args.out, seed, args.deliveries)


if __name__ == "__main__":
    main()
