"""Matching, projection and sorting of documents, on mongomock's query engine."""

import datetime
import re

import bson
from mongomock import OperationFailure, filtering
from mongomock.collection import _combine_projection_spec, _project_by_spec

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
        try:
            chosen = _project_by_spec(document, _combine_projection_spec(spec),
                                      is_include=modes.pop(), container=dict)
        except (OperationFailure, NotImplementedError) as error:
            raise QueryError(str(error), 2)
    result = {}
    for name in document:
        if name == '_id':
            if with_id:
                result[name] = document[name]
        elif name in chosen:
            result[name] = chosen[name]
    return result


def sort(documents, orderby):
    ordered = list(documents)
    for name, direction in reversed(list(orderby.items())):
        ordered.sort(key=lambda document: filtering.resolve_sort_key(name, document),
                     reverse=direction < 0)
    return ordered
