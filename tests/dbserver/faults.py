"""Misbehaviour that a test asks for: each fault serves one matching request."""

FAIL_QUERY = 'fail'          # a query or get-more refused: QueryFailure and {"$err", "code"}
FAIL_GET_MORE = 'failmore'   # the same for a get-more only
FAIL_COMMAND = 'failcmd'     # a command answered {"ok": 0, "errmsg", "code"}
ANSWER_COMMAND = 'answercmd'  # a command answered with a given document instead
EMPTY_REPLY = 'empty'        # a reply without any document
LOSE_CURSOR = 'lose'         # a get-more finds its cursor gone: CursorNotFound
CUT_REPLY = 'cut'            # the reply cut short, then the connection closed
DELAY_REPLY = 'delay'        # the reply begins `seconds` late
TRICKLE_REPLY = 'trickle'    # the reply sent one byte every `seconds`
MANGLE_REPLY = 'mangle'      # the reply sent as a broken or foreign peer sends it (wire.mangled)
ENDLESS_CURSOR = 'endless'   # the query's cursor never ends: get-mores go round its documents

# Faults that change how a reply is sent, not what it holds.
SENDING = (CUT_REPLY, DELAY_REPLY, TRICKLE_REPLY)


class Fault:
    def __init__(self, kind, namespace, text=None, code=None, seconds=None, document=None,
                 how=None, skip=0):
        self.kind = kind
        self.namespace = namespace  # None: any namespace but commands
        self.text = text
        self.code = code
        self.seconds = seconds
        self.document = document
        self.how = how
        self.skip = skip  # matching requests served as usual before this one


class Faults:
    def __init__(self):
        self._pending = []

    def add(self, fault):
        self._pending.append(fault)

    def take(self, kinds, namespace, is_command):
        """The first pending fault of one of the kinds for the namespace, now
        served; None when there is none."""
        for fault in self._pending:
            if fault.kind not in kinds:
                continue
            if fault.namespace == namespace or (fault.namespace is None and not is_command):
                if fault.skip > 0:
                    fault.skip -= 1
                    continue
                self._pending.remove(fault)
                return fault
        return None

    def clear(self):
        self._pending.clear()
