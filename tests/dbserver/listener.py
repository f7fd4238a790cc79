"""The data port: a listening socket that can be closed and opened again."""

import os
import select
import socket
import threading

import connection


class Listener:
    def __init__(self, state, host, port):
        self._state = state
        self._address = (host, port)
        self._socket = None
        self._thread = None
        self._wake = None  # pipe (read end, write end) that ends the accept thread
        # Taking a connection and counting it are one step: whoever finds the
        # backlog empty knows that every connection taken so far is counted.
        self._accepting = threading.Lock()
        self._jammed = []  # the never-accepting listening socket and the connection filling it

    def start(self):
        """Listens (again); raises OSError when the port is taken."""
        self._unjam()
        if self._socket is not None:
            return
        sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        # Connections of an earlier listening period may linger in TIME_WAIT.
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            sock.bind(self._address)
            sock.listen(128)
        except OSError:
            sock.close()
            raise
        sock.setblocking(False)
        self._socket = sock
        self._wake = os.pipe()
        self._thread = threading.Thread(target=self._accept, args=(sock, self._wake[0]),
                                        daemon=True)
        self._thread.start()

    def stop(self):
        """Closes the listening socket: connecting is refused from now on.
        Connections whose connect already succeeded are served first."""
        self._unjam()
        if self._socket is None:
            return
        os.write(self._wake[1], b'x')
        self._thread.join()
        self._socket.close()
        for end in self._wake:
            os.close(end)
        self._socket = None
        self._thread = None
        self._wake = None

    def jam(self):
        """Listens as a stuck server does: never accepting, its backlog full,
        so that a connect is neither accepted nor refused but waits until the
        client gives up. Connections already open keep working; start() and
        stop() end it."""
        self.stop()
        sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            sock.bind(self._address)
            sock.listen(0)
            # A backlog of 0 still holds one connection: ours.
            filler = socket.create_connection(self._address, timeout=5)
        except OSError:
            sock.close()
            raise
        self._jammed = [sock, filler]

    def _unjam(self):
        for sock in self._jammed:
            sock.close()
        self._jammed = []

    def _accept(self, sock, wake):
        poller = select.poll()
        poller.register(sock, select.POLLIN)
        poller.register(wake, select.POLLIN)
        while True:
            ready = {fd for fd, _ in poller.poll()}
            self._accept_waiting(sock)
            if wake in ready:
                return

    def accept_waiting(self):
        """Takes the connections whose connect already succeeded, so that
        they count as accepted before whatever the caller does next."""
        if self._socket is not None:
            self._accept_waiting(self._socket)

    def _accept_waiting(self, sock):
        """Takes every connection that waits in the backlog: the client sees
        those as open, and closing the socket would reset them."""
        with self._accepting:
            while True:
                try:
                    client, _ = sock.accept()
                except OSError:  # nothing more waiting
                    return
                client.setblocking(True)
                state = self._state.connection_opened()
                threading.Thread(target=connection.serve, args=(self._state, client, state),
                                 daemon=True).start()
