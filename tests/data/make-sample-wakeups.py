#!/usr/bin/python3
"""Writes the wake-up call log of the sample hotel, as an extended JSON seed
file {"wakeuplog": [...]} that the test server loads with --seed beside the
hotel itself.

The calls are booked for the guest mailboxes of the hotel file (made by
make-sample-hotel.py), under the guests' names and tenants, and logged
relative to the moment the script runs (local wall clock, 17-digit texts as
the product stores them), so a report run right after seeding finds them in
its window. Each call logs what happened to it in turn: booked, then rung
(answered, snoozed and rung again, or unanswered until the operator is
alerted), cancelled or reset at check-out; calls still to come are only
booked. Every event of one call shares its "wakeupid".

  make-sample-wakeups.py --hotel FILE [--out FILE] [--events N] [--hours H]
                         [--seed N]

The defaults make the demo's wake-up log; the benchmark asks for many more.
"""

import argparse
import datetime
import random

from sample_seed import db_time, guest_mailboxes, write_seed

# Who books a call ("source") and the name logged as its actor.
SOURCES = [(0, "guest", 6), (1, "operator", 2), (2, "frontdesk", 2), (5, "pms", 1),
           (8, "housekeeping", 1)]

SYSTEM_SOURCE = 6  # the wake-up service itself rings, retries and alerts
MAX_ATTEMPTS = 3


def object_id(seconds, counter):
    """A deterministic ObjectId: creation seconds, then a running counter."""
    return {"$oid": "%08x%016x" % (seconds & 0xFFFFFFFF, 0x5000000000000000 | counter)}


def guests_of(boxes):
    """(mailbox, tenant, first name, last name) of every guest mailbox."""
    guests = []
    for box in boxes:
        name = box.get("name", {})
        guests.append((box["_id"], box.get("tenantid", ""), name.get("first_display", ""),
                       name.get("last_display", "")))
    return guests


def call_steps(rng, booked, due, now):
    """(action, result, moment, count) of one call's life, in order."""
    steps = [(0, 0, booked, 0)]
    if rng.random() < 0.08:
        return steps + [(1, 8, booked + (due - booked) / 2, 0)]
    if due > now:
        return steps  # still to come
    moment = due
    for attempt in range(1, MAX_ATTEMPTS + 1):
        outcome = rng.choices([1, 2, 3, 4, 5], [10, 3, 3, 1, 1])[0]
        steps.append((2, outcome, moment, attempt))
        if outcome == 1:
            return steps
        # Snoozed, or not reached: the service rings again a little later.
        moment += datetime.timedelta(minutes=9 if outcome == 2 else 5)
        if moment > now:
            return steps
    steps.append((8, 11, moment, MAX_ATTEMPTS))
    steps.append((3, 0, moment + datetime.timedelta(seconds=20), MAX_ATTEMPTS))
    return steps


def wakeups(count, guests, hours, rng, now):
    span_ms = int(hours * 3600 * 1000)
    base_seconds = int(now.timestamp()) - int(hours * 3600)
    docs = []
    call = 0
    while len(docs) < count:
        call += 1
        mailbox, tenant, first, last = rng.choice(guests)
        booked = now - datetime.timedelta(milliseconds=rng.randrange(60000, span_ms))
        # Due one to thirteen hours after the booking, on a quarter hour; the
        # calls booked late in the window are still to come.
        due = (booked + datetime.timedelta(hours=rng.randrange(1, 14))).replace(
            minute=rng.choice([0, 15, 30, 45]), second=0, microsecond=0)
        source, actor, _ = rng.choices(SOURCES, [s[2] for s in SOURCES])[0]
        line = rng.randrange(1, 25)
        wakeupid = "wu-%06d" % call
        for action, result, moment, attempts in call_steps(rng, booked, due, now):
            if len(docs) == count:
                break
            by_guest = action in (0, 1)
            archived = ""
            if action == 2 and result == 1 and rng.random() < 0.5:
                archived = db_time(moment + datetime.timedelta(minutes=rng.randrange(1, 30)))
            docs.append({
                "_id": object_id(base_seconds + len(docs), len(docs)),
                "timestamp": db_time(min(moment, now)),
                "eventtime": db_time(due),
                "wakeupid": wakeupid,
                "action": action,
                "result": result,
                "source": source if by_guest else SYSTEM_SOURCE,
                "actor": actor if by_guest else "wakeup",
                "mailbox": mailbox,
                "tenantid": tenant,
                "fname": first,
                "lname": last,
                "count": attempts,
                "line": line if action in (2, 3) else -1,
                "promptid": 210 if action == 2 else 0,
                "profileid": "",
                "notes": "",
                "archived": archived,
            })
    return docs


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--hotel", required=True)
    parser.add_argument("--out", default="-")
    parser.add_argument("--events", type=int, default=40)
    parser.add_argument("--hours", type=float, default=23.0)
    parser.add_argument("--seed", type=int, default=13)
    args = parser.parse_args()
    # Calls are booked at least a minute before the run.
    if args.events < 0 or args.hours * 60 <= 1:
        parser.error("events must be at least 0, hours above 1/60")

    guests = guests_of(guest_mailboxes(args.hotel, parser))
    # Calls are booked by the rooms that have a guest, when there are any.
    guests = [g for g in guests if g[2]] or guests

    rng = random.Random(args.seed)
    now = datetime.datetime.now()
    seed = {"wakeuplog": wakeups(args.events, guests, args.hours, rng, now)}
    write_seed(args.out, seed, args.events)


if __name__ == "__main__":
    main()
