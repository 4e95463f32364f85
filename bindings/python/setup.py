"""Marks the wheel as specific to this platform.

The package is pure Python, but it carries the compiled product library,
so its wheel must say which machines it runs on. The Python ABI does not
matter (the library is loaded through ctypes), hence "py3-none-<platform>".
Everything else is in pyproject.toml.
"""

from setuptools import setup
from wheel.bdist_wheel import bdist_wheel


class PlatformWheel(bdist_wheel):

    def finalize_options(self):
        super().finalize_options()
        self.root_is_pure = False

    def get_tag(self):
        _, _, platform = super().get_tag()
        return "py3", "none", platform


setup(cmdclass={"bdist_wheel": PlatformWheel})
