"""Seed documents from extended JSON, with their BSON types."""

import extjson
from state import full_name


def seed(state, collection, documents):
    """Stores a list of documents; called with the server lock held."""
    if not isinstance(documents, list) or not all(isinstance(d, dict) for d in documents):
        raise ValueError('the documents of %s must be an array of objects' % collection)
    for document in documents:
        state.store.insert(full_name(collection), document)


def seed_file(state, path):
    """Stores the documents of a file {"collection": [documents...], ...}."""
    with open(path, encoding='utf-8') as source:
        content = extjson.loads(source.read())
    if not isinstance(content, dict):
        raise ValueError('%s: expected an object of collections' % path)
    for collection, documents in content.items():
        seed(state, collection, documents)
