"""The package copied into the build tree finds the product library next
to itself, with no environment variable set, and states the build's
version."""

import os
import unittest
from unittest import mock

import marrowfield
from marrowfield import _library


class BuildTreePackageTest(unittest.TestCase):

    def test_library_is_loaded_from_the_package_folder(self):
        self.assertNotIn(_library.ENVIRONMENT_VARIABLE, os.environ)
        self.assertEqual(marrowfield.compare_many([("knight", "night")]),
                         [100])
        package_dir = os.path.dirname(os.path.abspath(marrowfield.__file__))
        self.assertEqual(os.path.abspath(_library.load()._name),
                         os.path.join(package_dir, _library.LIBRARY_NAME))

    def test_package_carries_no_other_marrowfield_library(self):
        package_dir = os.path.dirname(os.path.abspath(marrowfield.__file__))
        libraries = [name for name in os.listdir(package_dir)
                     if ".so" in name]
        self.assertEqual(libraries, [_library.LIBRARY_NAME])

    def test_engine_answers(self):
        self.assertEqual(marrowfield.compare("knight", "knight"), 100)

    def test_version_is_the_projects(self):
        self.assertEqual(marrowfield.__version__,
                         os.environ["MARROWFIELD_EXPECTED_VERSION"])

    def test_installed_library_is_sought_by_its_real_soname(self):
        # Without the -dev package only the SONAME link exists on a system.
        soname = os.environ["MARROWFIELD_EXPECTED_SONAME"]
        with mock.patch.dict(os.environ, {}, clear=True):
            paths = list(_library.candidate_paths())
        self.assertEqual(paths[-2:], [soname, _library.LIBRARY_NAME])
        self.assertEqual(_library.soname(), soname)


if __name__ == "__main__":
    unittest.main()
