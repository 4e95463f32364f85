"""The package copied into the build tree finds the engine library next to
itself, with no environment variable set."""

import os
import unittest

import marrowfield
from marrowfield import _library


class BuildTreePackageTest(unittest.TestCase):

    def test_library_is_loaded_from_the_package_folder(self):
        self.assertNotIn(_library.ENVIRONMENT_VARIABLE, os.environ)
        package_dir = os.path.dirname(os.path.abspath(marrowfield.__file__))
        self.assertEqual(os.path.dirname(os.path.abspath(marrowfield._lib._name)),
                         package_dir)

    def test_lists_library_is_loaded_from_the_package_folder(self):
        self.assertEqual(marrowfield.compare_many([("knight", "night")]),
                         [100])
        package_dir = os.path.dirname(os.path.abspath(marrowfield.__file__))
        lists_library = marrowfield._lists._library()
        self.assertEqual(os.path.dirname(os.path.abspath(lists_library._name)),
                         package_dir)

    def test_engine_answers(self):
        self.assertEqual(marrowfield.compare("knight", "knight"), 100)


if __name__ == "__main__":
    unittest.main()
