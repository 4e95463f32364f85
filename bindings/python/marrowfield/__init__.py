"""Find words and names that sound alike: Python access to the Marrowfield
phonetic engine through its product library, libmarrowfield, by ctypes.

    >>> import marrowfield
    >>> marrowfield.compare("smith", "smyth")       # percent, 0-100
    >>> marrowfield.phones("knight")                # ['n', 'ay', 't']
    >>> marrowfield.code("knight")                  # '43'
    >>> marrowfield.similar("smith", ["smyth", "jones"], accuracy=60)
    >>> marrowfield.match("fox", "the quick fox")   # Match(score=100, ...)
    >>> marrowfield.dedupe(["Smith", "Smyth", "Jones"])  # [Group(...)]
    >>> marrowfield.dedupe_records(rows, name=["First", "Last"],
    ...                            same=["City"])    # [1, 1, None, ...]
    >>> marrowfield.canonical(["Smyth", "Smith", "Smith", None])
    ['Smith', 'Smith', 'Smith', None]
    >>> marrowfield.link(["Smith"], ["Smyth", "Jones"])  # {'Smith': [...]}
    >>> marrowfield.link(["Smith", None], ["Smyth"], best=True, aligned=True)
    ['Smyth', None]
    >>> marrowfield.compare_many([("smith", "smyth"), ("reid", "read")])
    >>> print(marrowfield.explain("thompson", "thomson").text)
    >>> marrowfield.fold("Zoë O’Neil")              # 'Zoe O'Neil'

With pandas, df["clean"] = marrowfield.canonical(df["name"]) adds each
row's suggested spelling as a column on the same index. pandas is not a
dependency: the functions take any iterable of str, and only a Series
given to them makes a Series come back. A column too big for one process
goes to marrowfield.dask (canonical and pairs on a dask.dataframe column;
imported on its own, where Dask is installed).

Missing values: None, float('nan') and pandas' NA in a list of values are
read as no value: never grouped, never matched, and kept in place (as
None) in the results aligned with the input (canonical, link with
aligned=True, compare_many).

Text: only the letters a-z and A-Z carry sound, so every function folds
its text to ASCII first (fold=False keeps it as it is), by the library's
own folding, exactly as the command line and the add-in fold: Latin
letters with diacritics become their base letters (é to e, ß to ss, ø to
o, ł to l), and typographic quotes, dashes and spaces their ASCII forms.
The engine then gets 8-bit strings: what is left is encoded as Latin-1, and
a character outside Latin-1 raises ArgumentError.

Errors: every exception of the package derives from marrowfield.Error:
ArgumentError (also a ValueError) for a value a function cannot take,
LibraryNotFoundError (also an OSError) where the library cannot be loaded,
OutOfMemoryError (also a MemoryError) and EngineError (also a
RuntimeError). An argument of the wrong type raises TypeError.

The library is loaded on first use, not on import: `import marrowfield`
works where the library is missing, and the first call that needs it raises
LibraryNotFoundError naming the places tried (folding ASCII text needs no
library). It is found through MARROWFIELD_LIBRARY, beside the package, in
the source tree's build*/library/, or by the system loader (SONAME
libmarrowfield.so.0).

Threads: every function may be called from several threads at once. The
library is thread-safe and the package takes no lock around calls; ctypes
lets go of the interpreter lock while the library runs, and dedupe,
canonical, link and compare_many spread their work over every core
(threads=0) or the number given. Results never depend on the thread count.
"""

import importlib

from ._errors import (ArgumentError, EngineError, Error, LibraryNotFoundError,
                      OutOfMemoryError)
from ._handles import DEFAULT_ACCURACY
from ._lists import (Explanation, Group, LinkMatch, Member, canonical,
                     compare_many, dedupe, explain, link)
from ._records import dedupe_records
from ._text import fold
from ._words import (DEFAULT_THRESHOLD, Match, code, compare, match, phones,
                     similar)

__all__ = ["compare", "phones", "code", "similar", "match", "fold", "Match",
           "DEFAULT_THRESHOLD", "dedupe", "dedupe_records", "canonical",
           "link",
           "compare_many", "explain", "Group", "Member", "LinkMatch",
           "Explanation", "DEFAULT_ACCURACY", "Error", "ArgumentError",
           "LibraryNotFoundError", "OutOfMemoryError", "EngineError"]


def _stamped_version() -> str:
    """"MAJOR.MINOR.PATCH" of the release, from the _version module the
    build writes; "0+unknown" straight from the source tree, which no build
    has stamped."""
    try:
        version: str = importlib.import_module(
            "._version", __name__).__version__
    except ImportError:
        return "0+unknown"
    return version


__version__ = _stamped_version()
