"""Matching, projection and sorting of documents, on mongomock's query engine."""

import datetime
import re

import bson
from mongomock import OperationFailure, filtering

import extjson
from errors import QueryError

NOTHING = filtering.NOTHING


def matches(query, document):
    try:
        return filtering.filter_applies(query, document)
    except (OperationFailure, NotImplementedError, TypeError, ValueError) as error:
        raise QueryError(str(error), 2)


def id_key(value):
    """Hashable key under which a document is indexed by its "_id".

    Numbers of any BSON type share one key space because MongoDB finds 1,
    1.0 and NumberLong(1) as the same "_id"; booleans do not join them."""
    if isinstance(value, bool):
        return ('bool', value)
    if isinstance(value, (int, float)):
        return ('number', value)
    if isinstance(value, (str, bson.ObjectId, datetime.datetime)):
        return (type(value).__name__, value)
    return ('other', extjson.dumps(value))


def id_equality(query):
    """The value that the query asks "_id" to equal, or NOTHING."""
    if '_id' not in query:
        return NOTHING
    value = query['_id']
    if isinstance(value, dict):
        if list(value) == ['$eq']:
            return value['$eq']
        if any(key.startswith('$') for key in value):
            return NOTHING
        return value
    if isinstance(value, (list, re.Pattern, bson.Regex)):
        # An array "_id" never exists and a regex is a pattern, not a value.
        return NOTHING
    return value


def project(document, fields):
    """The document as a query with this return-field selector returns it:
    the chosen elements in stored order, "_id" kept unless excluded."""
    if not fields:
        return document
    spec = dict(fields)
    with_id = bool(spec.pop('_id', 1))
    for name, value in spec.items():
        if isinstance(value, dict):
            raise QueryError('unsupported projection option: %s' % name, 2)
    modes = {bool(value) for value in spec.values()}
    if len(modes) > 1:
        raise QueryError('Projection cannot have a mix of inclusion and exclusion.', 2)
    if not spec:
        chosen = {} if with_id else document
    else:
        chosen = _project_paths(document, _path_tree(spec), modes.pop())
    result = {}
    for name in document:
        if name == '_id':
            if with_id:
                result[name] = document[name]
        elif name in chosen:
            result[name] = chosen[name]
    return result


def _path_tree(spec):
    """{"a.b": 1, "c": 1} as {"a": {"b": True}, "c": True}; a shorter path
    wins over a longer one below it, as mongod takes the whole element."""
    tree = {}
    for name in spec:
        node = tree
        parts = name.split('.')
        for part in parts[:-1]:
            child = node.setdefault(part, {})
            if child is True:
                break
            node = child
        else:
            node[parts[-1]] = True
    return tree


def _project_paths(value, tree, include):
    """mongod's dotted projection: a path goes into sub-documents and into
    the documents of an array; inclusion drops what a path cannot reach
    (array elements that are no documents, scalars under a longer path),
    exclusion keeps it."""
    if isinstance(value, list):
        if include:
            return [_project_paths(item, tree, include)
                    for item in value if isinstance(item, dict)]
        return [_project_paths(item, tree, include) if isinstance(item, dict) else item
                for item in value]
    result = {}
    for name, item in value.items():
        node = tree.get(name)
        if node is None:
            if not include:
                result[name] = item
        elif node is True:
            if include:
                result[name] = item
        elif isinstance(item, (dict, list)):
            result[name] = _project_paths(item, node, include)
        elif not include:
            result[name] = item
    return result


def sort(documents, orderby):
    ordered = list(documents)
    for name, direction in reversed(list(orderby.items())):
        ordered.sort(key=lambda document: filtering.resolve_sort_key(name, document),
                     reverse=direction < 0)
    return ordered
