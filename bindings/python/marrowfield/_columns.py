"""Columns of values as users hold them: any iterable of str with missing
values among them, or a pandas Series, whose aligned results come back as
a Series on the same index. pandas is never imported here: a Series can
only be given by a caller that has imported it already."""

from __future__ import annotations

import collections
import sys
from typing import Any, Iterable, List, Optional, Sequence, Tuple

from ._text import encode_many, is_missing


def is_series(values: object) -> bool:
    """Whether |values| is a pandas Series."""
    pandas = sys.modules.get("pandas")
    return pandas is not None and isinstance(values, pandas.Series)


def cells(values: Iterable[object], name: str) -> List[object]:
    """The entries of |values| as a list, in order; raises TypeError for a
    single str, which is an iterable of characters rather than of
    values."""
    if isinstance(values, str):
        raise TypeError("marrowfield: %s must be an iterable of str, not a "
                        "single str" % name)
    if is_series(values):
        return list(values.tolist())  # type: ignore[attr-defined]
    return list(values)


def distinct(entries: Sequence[object],
             name: str) -> Tuple[List[str], List[int]]:
    """The distinct present values of |entries| in first-seen order, with
    how often each occurs; missing values are left out. The caller checks
    that the values are str (encode_many)."""
    counts: collections.Counter[object] = collections.Counter()
    try:
        counts.update(entries)
    except TypeError:  # an unhashable entry; encode_many names it
        encode_many(list(entries), name)
        raise
    values = [value for value in counts if not is_missing(value)]
    return (values,  # type: ignore[return-value]
            [counts[value] for value in values])


def shaped_like(values: object, result: List[Any]) -> Any:
    """|result|, one entry per entry of |values|, as a pandas Series on the
    same index and with the same name when |values| is one, else as it
    is."""
    if not is_series(values):
        return result
    pandas = sys.modules["pandas"]
    return pandas.Series(result, index=values.index,  # type: ignore
                         name=values.name, dtype=object)  # type: ignore


def present(entry: object) -> Optional[str]:
    """|entry| when it is a value, None when it is missing (entries that
    are neither have been refused by encode_many)."""
    return entry if isinstance(entry, str) else None
