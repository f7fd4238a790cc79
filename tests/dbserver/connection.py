"""One client connection of the data port: read a request, answer it, repeat."""

import select
import socket
import sys
import time

import handler
import wire

# How much of a reply a cut connection still sends: half of the message
# header, so the client sees the connection end inside a reply.
CUT_REPLY_BYTES = 8


def _client_stays(sock, seconds):
    """Waits `seconds`; False as soon as the client has closed the connection,
    so that a client that gave up is not counted open for the rest of a delay."""
    deadline = time.monotonic() + seconds
    poller = select.poll()
    poller.register(sock, select.POLLIN)
    while True:
        left = deadline - time.monotonic()
        if left <= 0:
            return True
        if poller.poll(left * 1000):
            if sock.recv(1, socket.MSG_PEEK) == b'':
                return False
            # A request sent ahead waits for its turn.
            time.sleep(left)


def serve(state, sock, connection):
    sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    try:
        while True:
            opcode, request_id, body = wire.read_message(sock)
            with state.lock:
                answer = handler.handle(state, connection, opcode, request_id, body)
            if answer.data is None:
                continue
            if answer.cut:
                sock.sendall(answer.data[:CUT_REPLY_BYTES])
                break
            # Slow answers are sent without the server lock: the rest of the
            # server goes on meanwhile, and a client that gives up ends them.
            if not _client_stays(sock, answer.delay):
                return
            if answer.trickle:
                for i in range(len(answer.data)):
                    sock.sendall(answer.data[i:i + 1])
                    if not _client_stays(sock, answer.trickle):
                        return
            else:
                sock.sendall(answer.data)
    except OSError:
        pass  # the client went away
    except Exception as error:  # a request this server cannot read: drop the client
        print('server.py: connection %d dropped: %s: %s'
              % (connection.number, type(error).__name__, error), file=sys.stderr)
    finally:
        try:
            sock.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        sock.close()
        state.connection_closed()
