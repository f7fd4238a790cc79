#!/usr/bin/python3
"""A MongoDB server of the legacy wire protocol for the tests, on 127.0.0.1:27017.

  server.py --seed FILE...   serve the documents of the files until killed
  server.py --control        also take commands on stdin, answer on stdout,
                             and end when stdin closes (used by the tests)

Prints "ready" once it listens; exits with a message and status 2 when the
port cannot be had.
"""

import argparse
import os
import signal
import sys

# Keep the source tree free of compiled files.
sys.dont_write_bytecode = True

import seeding  # noqa: E402  (after the bytecode switch)
from control import Control  # noqa: E402
from listener import Listener  # noqa: E402
from state import ServerState  # noqa: E402

HOST = '127.0.0.1'
PORT = 27017


def main():
    parser = argparse.ArgumentParser(description='Test MongoDB server on %s:%d' % (HOST, PORT))
    parser.add_argument('--seed', nargs='+', default=[], metavar='FILE',
                        help='extended JSON files {"collection": [documents...], ...}')
    parser.add_argument('--control', action='store_true',
                        help='take control commands on stdin; end when it closes')
    options = parser.parse_args()

    answers = None
    if options.control:
        # Answers get their own copy of stdout; stray prints go to stderr.
        answers = os.fdopen(os.dup(1), 'wb')
        os.dup2(2, 1)

    state = ServerState()
    for path in options.seed:
        try:
            with state.lock:
                seeding.seed_file(state, path)
        except Exception as error:  # a bad file of any kind ends the start
            print('server.py: cannot seed from %s: %s' % (path, error), file=sys.stderr)
            return 2

    listener = Listener(state, HOST, PORT)
    try:
        listener.start()
    except OSError as error:
        print('server.py: cannot listen on %s:%d: %s' % (HOST, PORT, error.strerror or error),
              file=sys.stderr)
        return 2

    if options.control:
        answers.write(b'ready\n')
        answers.flush()
        with os.fdopen(0, 'rb') as commands:
            Control(state, listener).run(commands, answers)
        # The test binary has gone: end now, open connections or not.
        os._exit(0)

    print('ready', flush=True)
    signal.signal(signal.SIGTERM, lambda *_: os._exit(0))
    try:
        signal.pause()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == '__main__':
    sys.exit(main())
