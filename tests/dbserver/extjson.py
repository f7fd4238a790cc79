"""Extended JSON in and out, with BSON types kept exactly.

Output is canonical extended JSON except that int32 values are written as plain
numbers, which keeps the common case readable while int64 ({"$numberLong"}),
double ({"$numberDouble"}) and the other types stay unambiguous. Text is
written as UTF-8, not as \\u escapes.
"""

import re

import bson
from bson import json_util
from bson.codec_options import CodecOptions

JSON_OPTIONS = json_util.JSONOptions(json_mode=json_util.JSONMode.CANONICAL,
                                     tz_aware=False)
BSON_OPTIONS = CodecOptions(tz_aware=False)

# A JSON string cannot hold an unescaped quote, so this never matches inside one.
_INT32 = re.compile(r'\{"\$numberInt": "(-?\d+)"\}')


def dumps(value):
    return _INT32.sub(r'\1', json_util.dumps(value, json_options=JSON_OPTIONS,
                                             ensure_ascii=False))


def loads(text):
    return json_util.loads(text, json_options=JSON_OPTIONS)


def stored(document):
    """The document as the server stores it: what a BSON round trip gives
    (Python ints become int32 or int64 by size, nested values are copied)."""
    return bson.decode(bson.encode(document), BSON_OPTIONS)


def stored_value(value):
    return stored({'v': value})['v']
