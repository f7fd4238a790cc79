"""Update documents of OP_UPDATE: replacements and the common field operators."""

import bson
from bson.int64 import Int64

import extjson
from errors import WriteError
from querying import NOTHING


def is_replacement(update):
    operators = [name.startswith('$') for name in update]
    if any(operators) and not all(operators):
        raise WriteError("Unknown modifier: %s. Expected a valid update modifier"
                         % next(name for name in update if not name.startswith('$')), 9)
    return not any(operators)


def replaced(document, replacement):
    """The replacement, keeping the document's "_id" in first place."""
    if '_id' in replacement and replacement['_id'] != document['_id']:
        raise WriteError("After applying the update, the (immutable) field '_id' "
                         "was found to have been altered to _id: %s"
                         % extjson.dumps(replacement['_id']), 66)
    result = {'_id': document['_id']}
    result.update((name, value) for name, value in replacement.items() if name != '_id')
    return extjson.stored(result)


def applied(document, update, inserting):
    """A copy of the document with the update's operators applied."""
    result = extjson.stored(document)
    for operator, fields in update.items():
        action = _OPERATORS.get(operator)
        if action is None:
            raise WriteError("Unknown modifier: %s. Expected a valid update modifier"
                             % operator, 9)
        if not isinstance(fields, dict):
            raise WriteError("Modifiers operate on fields but we found another type "
                             "instead: {%s: %s}" % (operator, extjson.dumps(fields)), 9)
        for path, value in fields.items():
            if _touches_id(path) and not (inserting and '_id' not in document):
                if path == '_id' and document.get('_id', NOTHING) == value:
                    continue
                if operator == '$setOnInsert' and not inserting:
                    continue
                raise WriteError("Performing an update on the path '_id' would modify "
                                 "the immutable field '_id'", 66)
            action(result, path, value, inserting)
    return extjson.stored(result)


def _touches_id(path):
    return path == '_id' or path.startswith('_id.')


def seeded_from_query(query):
    """The document an upsert starts from: the query's equality conditions."""
    result = {}
    for name, value in query.items():
        if name.startswith('$'):
            continue
        if isinstance(value, dict) and value and all(key.startswith('$') for key in value):
            if list(value) != ['$eq']:
                continue
            value = value['$eq']
        _set(result, name, value, False)
    return result


def _parent(document, path, create):
    """The container holding the last part of the path, and that part."""
    parts = path.split('.')
    node = document
    for part in parts[:-1]:
        if isinstance(node, dict):
            if part not in node:
                if not create:
                    return None, None
                node[part] = {}
            node = node[part]
        elif isinstance(node, list) and part.isdigit():
            index = int(part)
            if index >= len(node):
                if not create:
                    return None, None
                node.extend([None] * (index + 1 - len(node)))
                node[index] = {}
            node = node[index]
        else:
            raise WriteError("Cannot create field '%s' in element {%s}" % (part, path), 28)
    last = parts[-1]
    if isinstance(node, list):
        if not last.isdigit():
            raise WriteError("Cannot create field '%s' in an array" % last, 28)
        return node, int(last)
    if not isinstance(node, dict):
        raise WriteError("Cannot create field '%s' in element {%s}" % (last, path), 28)
    return node, last


def _get(parent, key):
    if isinstance(parent, list):
        return parent[key] if key < len(parent) else NOTHING
    return parent.get(key, NOTHING)


def _put(parent, key, value):
    if isinstance(parent, list) and key >= len(parent):
        parent.extend([None] * (key + 1 - len(parent)))
    parent[key] = value


def _set(document, path, value, inserting):
    parent, key = _parent(document, path, True)
    _put(parent, key, value)


def _set_on_insert(document, path, value, inserting):
    if inserting:
        _set(document, path, value, inserting)


def _unset(document, path, value, inserting):
    parent, key = _parent(document, path, False)
    if parent is None or _get(parent, key) is NOTHING:
        return
    if isinstance(parent, list):
        parent[key] = None
    else:
        del parent[key]


def _is_number(value):
    return isinstance(value, (int, float)) and not isinstance(value, bool)


def _sum(left, right):
    if isinstance(left, float) or isinstance(right, float):
        return float(left) + float(right)
    total = int(left) + int(right)
    if not -2 ** 63 <= total < 2 ** 63:
        raise WriteError("Failed to apply $inc operations: integer overflow", 2)
    if isinstance(left, Int64) or isinstance(right, Int64) or not -2 ** 31 <= total < 2 ** 31:
        return Int64(total)
    return total


def _inc(document, path, value, inserting):
    if not _is_number(value):
        raise WriteError("Cannot increment with non-numeric argument: {%s: %s}"
                         % (path, extjson.dumps(value)), 14)
    parent, key = _parent(document, path, True)
    current = _get(parent, key)
    if current is NOTHING:
        _put(parent, key, value)
    elif not _is_number(current):
        raise WriteError("Cannot apply $inc to a value of non-numeric type. "
                         "{_id: %s} has the field '%s' of non-numeric type %s"
                         % (extjson.dumps(document.get('_id')), path, type(current).__name__), 14)
    else:
        _put(parent, key, _sum(current, value))


def _array_of(document, path):
    parent, key = _parent(document, path, True)
    current = _get(parent, key)
    if current is NOTHING:
        current = []
        _put(parent, key, current)
    elif not isinstance(current, list):
        raise WriteError("The field '%s' must be an array but is of type %s in document "
                         "{_id: %s}" % (path, type(current).__name__,
                                        extjson.dumps(document.get('_id'))), 2)
    return current


def _each(value):
    if isinstance(value, dict) and list(value) == ['$each']:
        return list(value['$each'])
    return [value]


def _push(document, path, value, inserting):
    _array_of(document, path).extend(_each(value))


def _add_to_set(document, path, value, inserting):
    array = _array_of(document, path)
    encoded = [bson.encode({'v': item}) for item in array]
    for item in _each(value):
        key = bson.encode({'v': item})
        if key not in encoded:
            array.append(item)
            encoded.append(key)


_OPERATORS = {
    '$set': _set,
    '$setOnInsert': _set_on_insert,
    '$unset': _unset,
    '$inc': _inc,
    '$push': _push,
    '$addToSet': _add_to_set,
}
