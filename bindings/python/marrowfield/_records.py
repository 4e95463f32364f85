"""Duplicate records: rows whose names sound alike and whose same fields
(a city, a telephone number) agree, from a pandas DataFrame or any
iterable of mappings, each row's group returned aligned with the rows.

The rule is the product library's (mf_records_dedupe): the name columns
are joined in order and scored word by word; rows are compared only when
their same columns are equal but for case, accents and spacing (telephone
numbers by their digits alone); an also column lowers a pair's score to
its own when that is lower, since a pair is as alike as its least alike
part.
"""

from __future__ import annotations

import ctypes
import sys
from typing import (Any, Dict, Iterable, List, Mapping, Optional, Sequence,
                    overload)

from . import _library
from ._errors import ArgumentError
from ._handles import DEFAULT_ACCURACY, Options, TextArray
from ._text import encode_many, is_missing


def _column_names(columns: object, role: str) -> List[Any]:
    """The column names of one role, a str standing for a list of one."""
    if isinstance(columns, str):
        return [columns]
    try:
        names: List[Any] = list(columns)  # type: ignore[call-overload]
    except TypeError:
        raise TypeError("marrowfield: %s must be a list of column names"
                        % role) from None
    return names


def _is_frame(rows: object) -> bool:
    pandas = sys.modules.get("pandas")
    return pandas is not None and isinstance(rows, pandas.DataFrame)


def _field(value: object, same: bool) -> object:
    """The text a row's value stands for: missing values are empty, and a
    number in a same column (a telephone number read as an int) counts by
    its digits as written."""
    if is_missing(value):
        return ""
    if same and isinstance(value, (int, float)) and not isinstance(value,
                                                                   bool):
        return str(value)
    return value


def _columns_of(rows: Any, columns: Sequence[Any]) -> List[List[object]]:
    """The values of each of |columns| for every row, column by column."""
    if _is_frame(rows):
        missing = [c for c in columns if c not in rows.columns]
        if missing:
            raise ArgumentError("marrowfield: the frame has no column %r"
                                % (missing[0],))
        return [list(rows[c].tolist()) for c in columns]
    if isinstance(rows, (str, bytes)) or isinstance(rows, Mapping):
        raise TypeError("marrowfield: rows must be a pandas DataFrame or an "
                        "iterable of mappings")
    values: List[List[object]] = [[] for _ in columns]
    for i, row in enumerate(rows):
        if not isinstance(row, Mapping):
            raise TypeError("marrowfield: rows[%d] must be a mapping of "
                            "column names to values, not %s"
                            % (i, type(row).__name__))
        for k, c in enumerate(columns):
            if c not in row:
                raise ArgumentError("marrowfield: rows[%d] has no column %r"
                                    % (i, c))
            values[k].append(row[c])
    return values


@overload
def dedupe_records(rows: Iterable[Mapping[Any, Any]], name: Sequence[Any],
                   same: Sequence[Any] = (), also: Sequence[Any] = (),
                   accuracy: int = DEFAULT_ACCURACY, scoring: str = "strict",
                   whole_cell: bool = False, threads: int = 0,
                   fold: bool = True) -> List[Optional[int]]: ...


@overload
def dedupe_records(rows: Any, name: Sequence[Any],
                   same: Sequence[Any] = (), also: Sequence[Any] = (),
                   accuracy: int = DEFAULT_ACCURACY, scoring: str = "strict",
                   whole_cell: bool = False, threads: int = 0,
                   fold: bool = True) -> Any: ...


def dedupe_records(rows: Any, name: Sequence[Any],
                   same: Sequence[Any] = (), also: Sequence[Any] = (),
                   accuracy: int = DEFAULT_ACCURACY, scoring: str = "strict",
                   whole_cell: bool = False, threads: int = 0,
                   fold: bool = True) -> Any:
    """Returns each row's group of duplicates: one entry per row, in
    order, the group's number (1 for the biggest group, 2 for the next ...)
    or None for a row in no group. Given a pandas DataFrame it returns a
    Series on the frame's index; given any other iterable of mappings
    (dicts, csv.DictReader), a list.

    name: the columns holding the name, joined in this order ("Jon" +
    "Smyth" scores against "Smith, John" word by word). same: columns that
    must be equal for two rows to be compared at all (case, accents and
    spacing do not count, telephone numbers count by their digits); a row
    with a missing same value is compared with none. also: columns scored
    by sound as well; a pair scores the least of its name's and these
    columns' scores (a missing or letterless value is left out). Rows
    identical in every chosen column are copies, always in one group.
    Missing values (None, NaN, pandas' NA) are empty fields. accuracy,
    scoring, whole_cell, threads and fold are dedupe()'s; the result is
    the same for any number of threads.

    Raises TypeError for rows that are not a frame or an iterable of
    mappings, a name given as a non-list, or a name or also value that is
    neither a str nor missing; ArgumentError (a ValueError) for no name
    column, a column given two roles, a column a row lacks, or the errors
    of dedupe().
    """
    roles = [_column_names(name, "name"), _column_names(same, "same"),
             _column_names(also, "also")]
    if not roles[0]:
        raise ArgumentError("marrowfield: name must name at least one "
                            "column")
    seen: Dict[Any, str] = {}
    for role, columns in zip(("name", "same", "also"), roles):
        for column in columns:
            if column in seen:
                raise ArgumentError(
                    "marrowfield: column %r is given to both %s and %s; "
                    "give each column one role"
                    % (column, seen[column], role)
                    if seen[column] != role else
                    "marrowfield: column %r is given twice to %s"
                    % (column, role))
            seen[column] = role
    columns = roles[0] + roles[1] + roles[2]
    values = _columns_of(rows, columns)
    count = len(values[0]) if values else 0
    same_from = len(roles[0])
    same_to = same_from + len(roles[1])
    encoded = [encode_many([_field(v, same_from <= k < same_to)
                            for v in column_values],
                           "column %r" % (columns[k],), fold)
               for k, column_values in enumerate(values)]
    # Row-major, so that each row's fields lie side by side for C.
    flat: List[bytes] = [b""] * (count * len(columns))
    for k, column_encoded in enumerate(encoded):
        flat[k::len(columns)] = column_encoded

    groups = _group_rows(flat, count, [len(r) for r in roles], accuracy,
                         scoring, whole_cell, threads)
    index = rows.index if _is_frame(rows) else None
    if index is None:
        return groups
    pandas = sys.modules["pandas"]
    return pandas.Series(groups, index=index, dtype=object)


def _group_rows(flat: List[bytes], count: int, shape: List[int],
                accuracy: int, scoring: str, whole_cell: bool,
                threads: int) -> List[Optional[int]]:
    """The group number (1-based) or None of each of |count| rows whose
    encoded fields lie in |flat|, row by row, shape[0] name, shape[1] same
    and shape[2] also fields each."""
    lib = _library.load()
    with Options(accuracy, threads, whole_cell, scoring) as options:
        records = ctypes.c_void_p()
        _library.call("mf_records_create", shape[0], shape[1], shape[2],
                      ctypes.byref(records))
        groups = ctypes.c_void_p()
        try:
            array = TextArray(flat)
            width = len(flat) // count if count else 0
            base = ctypes.addressof(array.pointers)
            step = width * ctypes.sizeof(ctypes.c_char_p)
            for r in range(count):
                _library.call("mf_records_add", records, base + r * step)
            _library.call("mf_records_dedupe", options, records,
                          ctypes.byref(groups))
        finally:
            lib.mf_records_destroy(records)
    try:
        result: List[Optional[int]] = [None] * count
        for g in range(lib.mf_groups_count(groups)):
            for m in range(lib.mf_groups_member_count(groups, g)):
                result[lib.mf_groups_member_value(groups, g, m)] = g + 1
        return result
    finally:
        lib.mf_groups_destroy(groups)

