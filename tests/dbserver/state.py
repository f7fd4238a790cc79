"""Everything the connections share, under one lock."""

import threading

from cursors import Cursors
from faults import Faults
from store import Store

DATABASE = 'kelden'


def full_name(collection):
    """The namespace of a collection name: mailbox is kelden.mailbox, while a
    name with a dot (admin.things) already holds its database."""
    return collection if '.' in collection else DATABASE + '.' + collection


class ConnectionState:
    """What mongod keeps per connection: its number and the last write's outcome."""

    def __init__(self, number):
        self.number = number
        self.last_error = {'n': 0}


class ServerState:
    def __init__(self):
        self.lock = threading.Lock()
        self.changed = threading.Condition(self.lock)
        self.store = Store()
        self.cursors = Cursors()
        self.faults = Faults()
        self.requests = []  # request dicts, turned into JSON when asked for
        # Answer as a server of version 6.0 or later does: every legacy query
        # (but the handshake) and get-more refused, legacy writes ignored.
        self.legacy_refused = False
        self.open_connections = 0
        self.accepted_connections = 0
        self._numbered = 0

    def connection_opened(self):
        with self.lock:
            self.open_connections += 1
            self.accepted_connections += 1
            self._numbered += 1
            self.changed.notify_all()
            return ConnectionState(self._numbered)

    def connection_closed(self):
        with self.lock:
            self.open_connections -= 1
            self.changed.notify_all()

    def reset(self):
        """Called with the lock held."""
        self.store.clear()
        self.cursors.clear()
        self.faults.clear()
        self.requests.clear()
        self.legacy_refused = False
        self.accepted_connections = 0
