"""One client connection of the data port: read a request, answer it, repeat."""

import socket
import sys
import time

import handler
import wire

# How much of a reply a cut connection still sends: half of the message
# header, so the client sees the connection end inside a reply.
CUT_REPLY_BYTES = 8


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
            time.sleep(answer.delay)
            if answer.trickle:
                for i in range(len(answer.data)):
                    sock.sendall(answer.data[i:i + 1])
                    time.sleep(answer.trickle)
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
