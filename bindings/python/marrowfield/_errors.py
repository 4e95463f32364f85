"""The exceptions of the marrowfield package.

Every exception the package raises of its own derives from Error, so that
`except marrowfield.Error` catches them all. Each also derives from the
built-in exception Python code would expect for the same fault
(ValueError for a value out of range, OSError for a library that cannot be
loaded, MemoryError, RuntimeError), so that code written against those
keeps working. An argument of the wrong type raises the built-in
TypeError, as in any Python function.
"""


class Error(Exception):
    """The base of every exception marrowfield raises of its own."""


class ArgumentError(Error, ValueError):
    """An argument of the right type with a value the function cannot take:
    an accuracy outside 0-100, an unknown scoring mode, a text with a NUL
    character or, not folded, a character outside Latin-1."""


class LibraryNotFoundError(Error, OSError):
    """The product library libmarrowfield could not be found or loaded; the
    message names every place tried and the variable MARROWFIELD_LIBRARY."""


class OutOfMemoryError(Error, MemoryError):
    """The library ran out of memory."""


class EngineError(Error, RuntimeError):
    """The library failed for a reason of its own; the message says what."""
