"""The tests' control channel: one JSON command per line in, and per command
"OK <n>" followed by n lines, or "ERR <message>", out."""

import json
import time

import extjson
import faults
import seeding
from errors import WriteError
from state import full_name


class Control:
    def __init__(self, state, listener):
        self._state = state
        self._listener = listener

    def run(self, commands_in, answers_out):
        """Serves commands until the channel closes."""
        for line in commands_in:
            if not line.strip():
                continue
            try:
                lines = self._dispatch(json.loads(line))
                answer = 'OK %d\n' % len(lines) + ''.join(text + '\n' for text in lines)
            except WriteError as error:
                answer = 'ERR %s\n' % error.message
            except Exception as error:  # any refusal goes back to the test, never kills us
                answer = 'ERR %s: %s\n' % (type(error).__name__, ' '.join(str(error).split()))
            try:
                answers_out.write(answer.encode('utf-8'))
                answers_out.flush()
            except OSError:
                return  # the test binary has gone

    def _dispatch(self, command):
        action = getattr(self, '_' + command['cmd'], None)
        if action is None:
            raise ValueError('unknown control command %r' % command['cmd'])
        return action(command)

    def _reset(self, command):
        # Connections made before the reset count in the period before it.
        self._listener.start()
        self._listener.accept_waiting()
        with self._state.lock:
            self._state.reset()
        return []

    def _seed(self, command):
        documents = extjson.loads(command['documents'])
        with self._state.lock:
            seeding.seed(self._state, command['collection'], documents)
        return []

    def _seedfile(self, command):
        with self._state.lock:
            seeding.seed_file(self._state, command['path'])
        return []

    def _documents(self, command):
        with self._state.lock:
            return [extjson.dumps(self._state.store.documents(full_name(command['collection'])))]

    def _document(self, command):
        identifier = extjson.loads(command['id'])
        with self._state.lock:
            found = self._state.store.by_id(full_name(command['collection']), identifier)
            return [extjson.dumps(found) if found is not None else '']

    def _canonical(self, command):
        return [extjson.dumps(extjson.loads(command['json']))]

    def _counter(self, name, command):
        """The counter's value, once it equals "expect" or "timeout" ms passed.
        A connect that returned before the command came is counted in it."""
        self._listener.accept_waiting()
        deadline = time.monotonic() + command.get('timeout', 0) / 1000.0
        with self._state.changed:
            if 'expect' in command:
                self._state.changed.wait_for(
                    lambda: getattr(self._state, name) == command['expect'],
                    max(0.0, deadline - time.monotonic()))
            return [str(getattr(self._state, name))]

    def _open(self, command):
        return self._counter('open_connections', command)

    def _accepted(self, command):
        return self._counter('accepted_connections', command)

    def _requests(self, command):
        with self._state.lock:
            return [extjson.dumps(entry) for entry in self._state.requests]

    def _stop(self, command):
        self._listener.stop()
        return []

    def _start(self, command):
        self._listener.start()
        return []

    def _jam(self, command):
        self._listener.jam()
        return []

    def _legacyrefused(self, command):
        with self._state.lock:
            self._state.legacy_refused = bool(command['on'])
        return []

    def _add_fault(self, kind, command, text=None, code=None, seconds=None, document=None,
                   how=None, skip=0):
        collection = command['collection']
        with self._state.lock:
            self._state.faults.add(faults.Fault(kind, full_name(collection) if collection else None,
                                                text, code, seconds, document, how, skip))
        return []

    def _failquery(self, command):
        return self._add_fault(faults.FAIL_QUERY, command, command['text'], int(command['code']))

    def _failgetmore(self, command):
        return self._add_fault(faults.FAIL_GET_MORE, command, command['text'],
                               int(command['code']))

    def _failcommand(self, command):
        return self._add_fault(faults.FAIL_COMMAND, command, command['text'],
                               int(command['code']))

    def _answercommand(self, command):
        return self._add_fault(faults.ANSWER_COMMAND, command,
                               document=extjson.loads(command['document']))

    def _losecursor(self, command):
        return self._add_fault(faults.LOSE_CURSOR, command)

    def _emptyreply(self, command):
        return self._add_fault(faults.EMPTY_REPLY, command)

    def _cutreply(self, command):
        return self._add_fault(faults.CUT_REPLY, command)

    def _delayreply(self, command):
        return self._add_fault(faults.DELAY_REPLY, command, seconds=float(command['seconds']))

    def _tricklereply(self, command):
        return self._add_fault(faults.TRICKLE_REPLY, command, seconds=float(command['seconds']))

    def _manglereply(self, command):
        return self._add_fault(faults.MANGLE_REPLY, command, how=command['how'],
                               skip=int(command.get('pass', 0)))

    def _endlesscursor(self, command):
        return self._add_fault(faults.ENDLESS_CURSOR, command)
