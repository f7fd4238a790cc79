"""The commands of "<db>.$cmd" that clients of this system send."""

import datetime

from bson.int64 import Int64

import querying
from errors import QueryError

_CODE_NAMES = {2: 'BadValue', 9: 'FailedToParse', 14: 'TypeMismatch', 26: 'NamespaceNotFound',
               28: 'PathNotViable', 59: 'CommandNotFound', 66: 'ImmutableField',
               11000: 'DuplicateKey'}


def failure(message, code):
    return {'ok': 0.0, 'errmsg': message, 'code': code, 'codeName': _CODE_NAMES.get(code, '')}


def last_error_document(connection):
    outcome = connection.last_error
    document = {'connectionId': connection.number}
    if 'err' in outcome:
        document.update(err=outcome['err'], code=outcome['code'],
                        codeName=_CODE_NAMES.get(outcome['code'], ''), n=0)
    else:
        for name in ('updatedExisting', 'upserted'):
            if name in outcome:
                document[name] = outcome[name]
        document.update(n=outcome['n'], syncMillis=0, writtenTo=None, err=None)
    document['ok'] = 1.0
    return document


def _get_last_error(state, connection, database, command):
    return last_error_document(connection)


def _is_master(state, connection, database, command):
    now = datetime.datetime.utcnow()
    return {'ismaster': True, 'maxBsonObjectSize': 16 * 1024 * 1024,
            'maxMessageSizeBytes': 48000000, 'maxWriteBatchSize': 100000,
            'localTime': now.replace(microsecond=now.microsecond // 1000 * 1000),
            'maxWireVersion': 6, 'minWireVersion': 0, 'readOnly': False, 'ok': 1.0}


def _ping(state, connection, database, command):
    return {'ok': 1.0}


def _count(state, connection, database, command):
    found = state.store.find(database + '.' + str(command['count']), command.get('query') or {})
    found = found[int(command.get('skip') or 0):]
    limit = abs(int(command.get('limit') or 0))
    if limit:
        found = found[:limit]
    return {'n': len(found), 'ok': 1.0}


def _drop(state, connection, database, command):
    namespace = database + '.' + str(command['drop'])
    if not state.store.drop(namespace):
        return failure('ns not found', 26)
    return {'ns': namespace, 'nIndexesWas': 1, 'ok': 1.0}


def _drop_database(state, connection, database, command):
    for name in state.store.names(database):
        state.store.drop(database + '.' + name)
    return {'dropped': database, 'ok': 1.0}


def _list_collections(state, connection, database, command):
    wanted = command.get('filter') or {}
    batch = []
    for name in state.store.names(database):
        entry = {'name': name, 'type': 'collection', 'options': {},
                 'info': {'readOnly': False}, 'idIndex': {'v': 2, 'key': {'_id': 1},
                                                          'name': '_id_', 'ns': database + '.' + name}}
        if querying.matches(wanted, entry):
            batch.append(entry)
    return {'cursor': {'id': Int64(0), 'ns': database + '.$cmd.listCollections',
                       'firstBatch': batch}, 'ok': 1.0}


_COMMANDS = {
    'getLastError': _get_last_error, 'getlasterror': _get_last_error,
    'isMaster': _is_master, 'ismaster': _is_master, 'hello': _is_master,
    'ping': _ping,
    'count': _count,
    'drop': _drop,
    'dropDatabase': _drop_database,
    'listCollections': _list_collections,
}


def is_get_last_error(command):
    return bool(command) and next(iter(command)) in ('getLastError', 'getlasterror')


def run(state, connection, database, command):
    """The reply document of the command (a failure document when it fails)."""
    if not command:
        return failure('no such command: \'\'', 59)
    name = next(iter(command))
    action = _COMMANDS.get(name)
    if action is None:
        return failure("no such command: '%s'" % name, 59)
    try:
        return action(state, connection, database, command)
    except QueryError as error:
        return failure(error.message, error.code)
    except (KeyError, TypeError, ValueError) as error:
        return failure('bad %s command: %s' % (name, error), 9)
