"""Misbehaviour that a test asks for: each fault serves one matching request."""

FAIL_QUERY = 'fail'
CUT_REPLY = 'cut'


class Fault:
    def __init__(self, kind, namespace, text=None, code=None):
        self.kind = kind
        self.namespace = namespace  # None: any namespace but commands
        self.text = text
        self.code = code


class Faults:
    def __init__(self):
        self._pending = []

    def add(self, fault):
        self._pending.append(fault)

    def take(self, kind, namespace, is_command):
        for fault in self._pending:
            if fault.kind != kind:
                continue
            if fault.namespace == namespace or (fault.namespace is None and not is_command):
                self._pending.remove(fault)
                return fault
        return None

    def clear(self):
        self._pending.clear()
