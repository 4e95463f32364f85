"""Checked by mypy (python_binding_mypy), never run: the package's hints
give a user's code the types its results have."""

from typing import Dict, List, Optional

from typing_extensions import assert_type

import marrowfield

names: List[Optional[str]] = ["Smith", None, "Smyth"]

assert_type(marrowfield.compare("Smith", "Smyth"), int)
assert_type(marrowfield.phones("knight"), List[str])
assert_type(marrowfield.code("knight"), str)
assert_type(marrowfield.fold("Zoë"), str)
assert_type(marrowfield.similar("Smith", names, accuracy=60), List[str])
assert_type(marrowfield.match("fox", "the fox").start, Optional[int])
assert_type(marrowfield.dedupe(names), List[marrowfield.Group])
assert_type(marrowfield.dedupe(names)[0].members[0].count, int)
assert_type(marrowfield.canonical(names), List[Optional[str]])
assert_type(marrowfield.link(names, names),
            Dict[str, List[marrowfield.LinkMatch]])
assert_type(marrowfield.compare_many([("a", "b")]), List[Optional[int]])
assert_type(marrowfield.explain("a", "b").distance, float)
assert_type(marrowfield.dedupe_records([{"name": "Smith", "city": "Leeds"}],
                                       name=["name"], same=["city"]),
            List[Optional[int]])
error: marrowfield.Error = marrowfield.ArgumentError("x")
value_error: ValueError = marrowfield.ArgumentError("x")
