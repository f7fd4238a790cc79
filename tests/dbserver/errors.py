"""Failures that the server reports to its clients the way mongod does."""


class QueryError(Exception):
    """A query the server refuses: answered with {"$err": ..., "code": ...}."""

    def __init__(self, message, code=2):
        super().__init__(message)
        self.message = message
        self.code = code


class WriteError(Exception):
    """A write that failed: reported by the next getLastError."""

    def __init__(self, message, code):
        super().__init__(message)
        self.message = message
        self.code = code
