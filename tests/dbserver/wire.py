"""Messages of MongoDB's legacy wire protocol, on mockupdb's parsing code."""

import itertools
import struct

import bson
import mockupdb

MAX_MESSAGE_BYTES = 48000000
QUERY_FAILURE = mockupdb.REPLY_FLAGS['QueryFailure']
CURSOR_NOT_FOUND = mockupdb.REPLY_FLAGS['CursorNotFound']

_HEADER = struct.Struct('<iiii')
_REPLY_FIELDS = struct.Struct('<iqii')
_reply_ids = itertools.count(1)


class ProtocolError(Exception):
    pass


def read_message(sock):
    """(opcode, request id, body) of the next message; OSError when the
    client has gone."""
    length, request_id, _, opcode = _HEADER.unpack(mockupdb.mock_server_receive(sock, 16))
    if not 16 <= length <= MAX_MESSAGE_BYTES:
        raise ProtocolError('message length %d out of range' % length)
    return opcode, request_id, mockupdb.mock_server_receive(sock, length - 16)


def parse(opcode, request_id, body):
    """The request object of mockupdb for the message (a Command for a query
    on "<db>.$cmd")."""
    if opcode == mockupdb.OP_KILL_CURSORS:
        return _kill_cursors(body)
    kind = mockupdb.OPCODES.get(opcode)
    if kind is None or opcode == mockupdb.OP_MSG:
        raise ProtocolError('unsupported opcode %d' % opcode)
    return kind.unpack(body, None, None, request_id)


def _kill_cursors(body):
    # mockupdb reads the cursor ids as 32-bit values; they are 64-bit.
    count, = struct.unpack_from('<i', body, 4)
    return mockupdb.OpKillCursors(cursor_ids=list(struct.unpack_from('<%dq' % count, body, 8)))


def reply(response_to, encoded_documents, flags=0, cursor_id=0, starting_from=0):
    """An OP_REPLY holding documents already encoded as BSON."""
    payload = _REPLY_FIELDS.pack(flags, cursor_id, starting_from, len(encoded_documents))
    payload += b''.join(encoded_documents)
    return _HEADER.pack(16 + len(payload), next(_reply_ids), response_to,
                        mockupdb.OP_REPLY) + payload


def mangled(how, data):
    """The reply bytes data as a broken or foreign peer would send them."""
    length, reply_id, response_to, opcode = _HEADER.unpack_from(data)
    if how == 'garbage':  # a web server on the port
        return b'HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n'
    if how == 'negative length':
        return struct.pack('<i', -1) + data[4:]
    if how == 'huge length':
        return struct.pack('<i', MAX_MESSAGE_BYTES + 1) + data[4:]
    if how == 'short':  # a whole message, too short for a reply
        return struct.pack('<i', 20) + data[4:20]
    if how == 'op_msg':  # the answer of a server that speaks only OP_MSG
        body = struct.pack('<I', 0) + b'\x00' + bson.encode({'ok': 1.0})
        return _HEADER.pack(16 + len(body), reply_id, response_to, mockupdb.OP_MSG) + body
    if how == 'stale':  # a reply left over from the request before, then the true one
        return _HEADER.pack(length, reply_id, response_to - 1, opcode) + data[16:] + data
    raise ValueError('unknown way to mangle a reply: %r' % how)
