"""Answers one request of a connection; called with the server lock held."""

import bson
import mockupdb

import commands
import querying
import wire
from errors import QueryError, WriteError
from faults import (ANSWER_COMMAND, CUT_REPLY, DELAY_REPLY, EMPTY_REPLY, ENDLESS_CURSOR,
                    FAIL_COMMAND, FAIL_GET_MORE, FAIL_QUERY, LOSE_CURSOR, MANGLE_REPLY, SENDING,
                    TRICKLE_REPLY)

# Batch rules of mongod for legacy queries: a first batch without a size
# holds 101 documents or just over 1 MB, a get-more without one just over
# 4 MB, and no batch grows past the largest document size.
DEFAULT_FIRST_BATCH = 101
DEFAULT_FIRST_BATCH_BYTES = 1024 * 1024
DEFAULT_MORE_BATCH_BYTES = 4 * 1024 * 1024
MAX_BATCH_BYTES = 16 * 1024 * 1024

_CONTINUE_ON_ERROR = mockupdb.INSERT_FLAGS['ContinueOnError']
_UPSERT = mockupdb.UPDATE_FLAGS['Upsert']
_MULTI = mockupdb.UPDATE_FLAGS['MultiUpdate']
_SINGLE_REMOVE = mockupdb.DELETE_FLAGS['SingleRemove']


# What a server of version 6.0 or later answers to every legacy query but
# the handshake, and to a legacy get-more.
_LEGACY_QUERY_REFUSED = ('Unsupported OP_QUERY command: %s. The client driver may require an '
                         'upgrade. For more details see '
                         'https://dochub.mongodb.org/core/legacy-opcode-removal')
_LEGACY_GET_MORE_REFUSED = 'OP_GET_MORE is no longer supported. The client driver may require ' \
                           'an upgrade.'
_LEGACY_CODE = 352
_HANDSHAKE = ('hello', 'isMaster', 'ismaster')


class Answer:
    """The reply bytes, if any, and how to send them: whole, cut short
    (cut), after a delay of `delay` seconds, or one byte every `trickle`
    seconds."""

    def __init__(self, data=None, cut=False, delay=0.0, trickle=0.0):
        self.data = data
        self.cut = cut
        self.delay = delay
        self.trickle = trickle


def handle(state, connection, opcode, request_id, body):
    request = wire.parse(opcode, request_id, body)
    if isinstance(request, mockupdb.Command):
        return _command(state, connection, request)
    connection.last_error = {'n': 0}
    if isinstance(request, mockupdb.OpQuery):
        return _query(state, connection, request)
    if isinstance(request, mockupdb.OpGetMore):
        return _get_more(state, connection, request)
    if isinstance(request, mockupdb.OpKillCursors):
        _log(state, connection, op='killcursors',
             cursors=[bson.int64.Int64(i) for i in request.cursor_ids])
        for identifier in request.cursor_ids:
            state.cursors.close(identifier)
        return Answer()
    if isinstance(request, mockupdb.OpInsert):
        return _insert(state, connection, request)
    if isinstance(request, mockupdb.OpUpdate):
        return _update(state, connection, request)
    if isinstance(request, mockupdb.OpDelete):
        return _delete(state, connection, request)
    raise wire.ProtocolError('unexpected request %r' % request)


def _log(state, connection, **entry):
    entry['connection'] = connection.number
    state.requests.append(entry)


def _answer(state, namespace, is_command, response_to, encoded, **reply_fields):
    if state.faults.take((EMPTY_REPLY,), namespace, is_command) is not None:
        encoded = []
    answer = Answer(wire.reply(response_to, encoded, **reply_fields))
    fault = state.faults.take((MANGLE_REPLY,), namespace, is_command)
    if fault is not None:
        answer.data = wire.mangled(fault.how, answer.data)
    fault = state.faults.take(SENDING, namespace, is_command)
    if fault is not None:
        answer.cut = fault.kind == CUT_REPLY
        answer.delay = fault.seconds if fault.kind == DELAY_REPLY else 0.0
        answer.trickle = fault.seconds if fault.kind == TRICKLE_REPLY else 0.0
    return answer


def _error_answer(state, namespace, is_command, response_to, message, code):
    encoded = [bson.encode({'$err': message, 'code': code})]
    return _answer(state, namespace, is_command, response_to, encoded, flags=wire.QUERY_FAILURE)


def _batch(documents, start, count, byte_limit, fields):
    """Documents from start on, encoded: at most count (0: no count limit),
    stopping once byte_limit is passed; returns (encoded, next position)."""
    encoded = []
    size = 0
    position = start
    while position < len(documents) and (not count or len(encoded) < count) \
            and size < byte_limit:
        data = bson.encode(querying.project(documents[position], fields))
        if encoded and size + len(data) > MAX_BATCH_BYTES:
            break
        encoded.append(data)
        size += len(data)
        position += 1
    return encoded, position


def _command(state, connection, request):
    database = request.namespace
    namespace = database + '.$cmd'
    command = request.doc
    if '$query' in command:
        command = command['$query']
    _log(state, connection, op='command', ns=namespace, command=request.doc)
    if not commands.is_get_last_error(command):
        connection.last_error = {'n': 0}
    name = next(iter(command), '')
    if state.legacy_refused and name not in _HANDSHAKE:
        return _error_answer(state, namespace, True, request.request_id,
                             _LEGACY_QUERY_REFUSED % name, _LEGACY_CODE)
    fault = state.faults.take((FAIL_QUERY, FAIL_COMMAND, ANSWER_COMMAND), namespace, True)
    if fault is not None and fault.kind == FAIL_QUERY:
        return _error_answer(state, namespace, True, request.request_id, fault.text, fault.code)
    if fault is not None and fault.kind == FAIL_COMMAND:
        result = commands.failure(fault.text, fault.code)
    elif fault is not None:
        result = fault.document
    else:
        result = commands.run(state, connection, database, command)
    return _answer(state, namespace, True, request.request_id, [bson.encode(result)])


def _query(state, connection, request):
    namespace = request.namespace
    wrapped = request.doc
    fields = request.fields
    skip = request.num_to_skip or 0
    asked = request.num_to_return or 0
    _log(state, connection, op='query', ns=namespace, query=wrapped, fields=fields,
         skip=skip, limit=asked, flags=request.flags or 0)
    if state.legacy_refused:
        return _error_answer(state, namespace, False, request.request_id,
                             _LEGACY_QUERY_REFUSED % 'find', _LEGACY_CODE)
    fault = state.faults.take((FAIL_QUERY,), namespace, False)
    if fault is not None:
        return _error_answer(state, namespace, False, request.request_id, fault.text, fault.code)
    try:
        query = wrapped['$query'] if '$query' in wrapped else wrapped
        if not isinstance(query, dict):
            raise QueryError('$query must be an object', 2)
        found = state.store.find(namespace, query)
        if isinstance(wrapped.get('$orderby'), dict) and '$query' in wrapped:
            found = querying.sort(found, wrapped['$orderby'])
        found = found[skip:] if skip > 0 else found
        single_batch = asked == 1 or asked < 0
        if asked == 0:
            encoded, position = _batch(found, 0, DEFAULT_FIRST_BATCH, DEFAULT_FIRST_BATCH_BYTES,
                                       fields)
        else:
            encoded, position = _batch(found, 0, abs(asked), MAX_BATCH_BYTES, fields)
    except QueryError as error:
        return _error_answer(state, namespace, False, request.request_id, error.message,
                             error.code)
    cursor_id = 0
    endless = state.faults.take((ENDLESS_CURSOR,), namespace, False) is not None
    if endless or (not single_batch and position < len(found)):
        cursor_id = state.cursors.open(namespace, found, position, fields)
        state.cursors.get(cursor_id).endless = endless
    return _answer(state, namespace, False, request.request_id, encoded, cursor_id=cursor_id)


def _get_more(state, connection, request):
    namespace = request.namespace
    _log(state, connection, op='getmore', ns=namespace, limit=request.num_to_return,
         cursor=bson.int64.Int64(request.cursor_id))
    if state.legacy_refused:
        return _error_answer(state, namespace, False, request.request_id,
                             _LEGACY_GET_MORE_REFUSED, _LEGACY_CODE)
    if state.faults.take((LOSE_CURSOR,), namespace, False) is not None:
        state.cursors.close(request.cursor_id)
    cursor = state.cursors.get(request.cursor_id)
    if cursor is None or cursor.namespace != namespace:
        return _answer(state, namespace, False, request.request_id, [],
                       flags=wire.CURSOR_NOT_FOUND)
    fault = state.faults.take((FAIL_QUERY, FAIL_GET_MORE), namespace, False)
    if fault is not None:
        state.cursors.close(request.cursor_id)
        return _error_answer(state, namespace, False, request.request_id, fault.text, fault.code)
    asked = abs(request.num_to_return or 0)
    if cursor.endless and cursor.position >= len(cursor.documents):
        cursor.position = 0
    start = cursor.position
    try:
        encoded, cursor.position = _batch(cursor.documents, start, asked,
                                          MAX_BATCH_BYTES if asked else DEFAULT_MORE_BATCH_BYTES,
                                          cursor.fields)
    except QueryError as error:
        state.cursors.close(request.cursor_id)
        return _error_answer(state, namespace, False, request.request_id, error.message,
                             error.code)
    cursor_id = request.cursor_id
    if cursor.position >= len(cursor.documents) and not cursor.endless:
        state.cursors.close(request.cursor_id)
        cursor_id = 0
    return _answer(state, namespace, False, request.request_id, encoded, cursor_id=cursor_id,
                   starting_from=start)


def _failed(connection, error):
    connection.last_error = {'err': error.message, 'code': error.code}


def _insert(state, connection, request):
    flags = request.flags or 0
    _log(state, connection, op='insert', ns=request.namespace, documents=request.docs,
         flags=flags)
    if state.legacy_refused:
        return Answer()
    for document in request.docs:
        try:
            state.store.insert(request.namespace, document)
        except WriteError as error:
            _failed(connection, error)
            if not flags & _CONTINUE_ON_ERROR:
                break
    return Answer()


def _update(state, connection, request):
    flags = request.flags or 0
    selector, update = (list(request.docs) + [{}, {}])[:2]
    _log(state, connection, op='update', ns=request.namespace, selector=selector, update=update,
         flags=flags)
    if state.legacy_refused:
        return Answer()
    try:
        matched, upserted = state.store.update(request.namespace, selector, update,
                                               bool(flags & _UPSERT), bool(flags & _MULTI))
    except (WriteError, QueryError) as error:
        _failed(connection, error)
        return Answer()
    connection.last_error = {'updatedExisting': upserted is None and matched > 0, 'n': matched}
    if upserted is not None:
        connection.last_error['upserted'] = upserted
    return Answer()


def _delete(state, connection, request):
    flags = request.flags or 0
    selector = request.docs[0] if request.docs else {}
    _log(state, connection, op='delete', ns=request.namespace, selector=selector, flags=flags)
    if state.legacy_refused:
        return Answer()
    try:
        removed = state.store.delete(request.namespace, selector, bool(flags & _SINGLE_REMOVE))
    except QueryError as error:
        _failed(connection, error)
        return Answer()
    connection.last_error = {'n': removed}
    return Answer()
