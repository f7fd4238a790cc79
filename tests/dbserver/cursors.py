"""Open query cursors: the rest of a result waiting for OP_GET_MORE."""

import random


class Cursor:
    def __init__(self, namespace, documents, position, fields):
        self.namespace = namespace
        self.documents = documents
        self.position = position
        self.fields = fields
        self.endless = False  # get-mores go round the documents for ever


class Cursors:
    def __init__(self):
        self._open = {}

    def open(self, namespace, documents, position, fields):
        while True:
            identifier = random.randint(1, 2 ** 62)
            if identifier not in self._open:
                break
        self._open[identifier] = Cursor(namespace, documents, position, fields)
        return identifier

    def get(self, identifier):
        return self._open.get(identifier)

    def close(self, identifier):
        self._open.pop(identifier, None)

    def clear(self):
        self._open.clear()
