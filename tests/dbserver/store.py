"""The databases: collections of documents in stored order, indexed by "_id"."""

import bson

import extjson
import querying
import updating
from errors import WriteError


def _shell_form(value):
    """The value as mongod writes it into a duplicate key message."""
    if isinstance(value, bson.ObjectId):
        return "ObjectId('%s')" % value
    if isinstance(value, bool):
        return 'true' if value else 'false'
    if isinstance(value, (int, float)):
        return repr(value) if isinstance(value, float) else str(int(value))
    return extjson.dumps(value)


class Collection:
    def __init__(self):
        # "_id" key -> document; a dict keeps insertion order, so this is both
        # the stored order and the index.
        self.documents = {}


class Store:
    def __init__(self):
        self.collections = {}  # full name "db.collection" -> Collection

    def clear(self):
        self.collections.clear()

    def names(self, database):
        prefix = database + '.'
        return [name[len(prefix):] for name in self.collections if name.startswith(prefix)]

    def documents(self, namespace):
        collection = self.collections.get(namespace)
        return list(collection.documents.values()) if collection else []

    def by_id(self, namespace, value):
        collection = self.collections.get(namespace)
        if collection is None:
            return None
        return collection.documents.get(querying.id_key(value))

    def insert(self, namespace, document):
        """Stores the document as mongod does: "_id" first, made when missing."""
        if '_id' in document:
            identifier = document['_id']
            if isinstance(identifier, list):
                raise WriteError("can't use an array for _id", 2)
        else:
            identifier = bson.ObjectId()
        record = {'_id': identifier}
        record.update((name, value) for name, value in document.items() if name != '_id')
        record = extjson.stored(record)
        collection = self.collections.setdefault(namespace, Collection())
        key = querying.id_key(record['_id'])
        if key in collection.documents:
            raise WriteError("E11000 duplicate key error collection: %s index: _id_ "
                             "dup key: { _id: %s }" % (namespace, _shell_form(record['_id'])),
                             11000)
        collection.documents[key] = record
        return record

    def find(self, namespace, query):
        collection = self.collections.get(namespace)
        if collection is None:
            return []
        identifier = querying.id_equality(query)
        if identifier is querying.NOTHING:
            candidates = collection.documents.values()
        else:
            found = collection.documents.get(querying.id_key(identifier))
            candidates = [found] if found is not None else []
        return [document for document in candidates if querying.matches(query, document)]

    def update(self, namespace, query, update, upsert, multi):
        """Returns (number matched, the "_id" of an upserted document or None)."""
        replacement = updating.is_replacement(update)
        if replacement and multi:
            raise WriteError("multi update is not supported for replacement-style update", 9)
        found = self.find(namespace, query)
        if not found:
            if not upsert:
                return 0, None
            start = updating.seeded_from_query(query)
            if replacement:
                document = dict(update)
                if '_id' in start and '_id' not in document:
                    document = {'_id': start['_id'], **document}
            else:
                document = updating.applied(start, update, inserting=True)
            return 1, self.insert(namespace, document)['_id']
        collection = self.collections[namespace]
        for document in found if multi else found[:1]:
            if replacement:
                changed = updating.replaced(document, update)
            else:
                changed = updating.applied(document, update, inserting=False)
            collection.documents[querying.id_key(document['_id'])] = changed
        return (len(found) if multi else 1), None

    def delete(self, namespace, query, single):
        found = self.find(namespace, query)
        if single:
            found = found[:1]
        collection = self.collections.get(namespace)
        for document in found:
            del collection.documents[querying.id_key(document['_id'])]
        return len(found)

    def drop(self, namespace):
        return self.collections.pop(namespace, None) is not None
