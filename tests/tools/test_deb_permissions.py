"""Tests of tools/deb_permissions.sh on small packages made here: it must pass a package whose members have Debian's modes, and
name each member whose mode a umask or the checkout could have spoilt.
Standard library only (unittest)."""

import io
import os
import subprocess
import tarfile
import tempfile
import unittest

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                       "..", "..", "tools", "deb_permissions.sh")
CONTROL = "Package: sample\nVersion: 1.0\nArchitecture: all\n" \
          "Maintainer: Marrowfield Labs <help@marrowfield.example>\n" \
          "Description: a sample\n a package to check\n"


class DebPermissionsTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.tree = os.path.join(self.folder.name, "tree")
        # Debian's modes: these must pass.
        self.add("DEBIAN/control", CONTROL, 0o644)
        self.add("DEBIAN/triggers", "activate-noawait ldconfig\n", 0o644)
        self.add("DEBIAN/postinst", "#!/bin/sh\n", 0o755)
        self.add("usr/bin/sample", "#!/bin/sh\n", 0o755)
        self.add("usr/lib/libsample.so.1.0", "", 0o644)
        self.add("usr/share/doc/sample/copyright", "", 0o644)
        os.symlink("libsample.so.1.0", os.path.join(self.tree, "usr/lib/libsample.so.1"))

    def tearDown(self):
        self.folder.cleanup()

    def add(self, name, text, mode):
        path = os.path.join(self.tree, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        for folder in self.folders_of(name):
            os.chmod(os.path.join(self.tree, folder), 0o755)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        os.chmod(path, mode)

    @staticmethod
    def folders_of(name):
        parts = name.split("/")[:-1]
        return ["/".join(parts[:i + 1]) for i in range(len(parts))]

    def check(self, owners=None):
        """Packs the tree as a .deb, with the modes its files have, owned by
        root but for OWNERS (member: uid), and runs the checker on it.
        Packed by hand: dpkg-deb would set the control files' modes right
        itself."""
        def member(info):
            info.uid = info.gid = (owners or {}).get(info.name, 0)
            info.uname = info.gname = "root" if info.uid == 0 else ""
            return info

        def tar(folder, exclude):
            data = io.BytesIO()
            with tarfile.open(fileobj=data, mode="w:gz", format=tarfile.GNU_FORMAT) as archive:
                archive.add(folder, arcname=".", filter=lambda info: None
                            if info.name.startswith(exclude) else member(info))
            return data.getvalue()

        members = [("debian-binary", b"2.0\n"),
                   ("control.tar.gz", tar(os.path.join(self.tree, "DEBIAN"), "./nothing")),
                   ("data.tar.gz", tar(self.tree, "./DEBIAN"))]
        deb = os.path.join(self.folder.name, "sample.deb")
        with open(deb, "wb") as f:  # the ar archive dpkg reads
            f.write(b"!<arch>\n")
            for name, content in members:
                f.write(f"{name:<16}{0:<12}{0:<6}{0:<6}{100644:<8}{len(content):<10}`\n".encode())
                f.write(content + (b"\n" if len(content) % 2 else b""))
        return subprocess.run(["bash", CHECKER, deb], capture_output=True, text=True)

    def test_DebiansModes_Pass(self):
        result = self.check()
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn("all 15 members of 1 packages", result.stdout)

    def test_EachSpoiltMode_IsNamed(self):
        cases = [
            ("control file writable by the group", "DEBIAN/triggers", 0o664,
             "(control) ./triggers: mode -rw-rw-r--, not -rw-r--r--"),
            ("maintainer script not executable", "DEBIAN/postinst", 0o644,
             "(control) ./postinst: mode -rw-r--r--, not -rwxr-xr-x"),
            ("folder writable by the group", "usr/share/doc", 0o775,
             "(data) ./usr/share/doc/: mode drwxrwxr-x, not drwxr-xr-x"),
            ("data file writable by the group", "usr/share/doc/sample/copyright", 0o664,
             "(data) ./usr/share/doc/sample/copyright: mode -rw-rw-r--, not -rw-r--r--"),
            ("shared library executable", "usr/lib/libsample.so.1.0", 0o755,
             "(data) ./usr/lib/libsample.so.1.0: mode -rwxr-xr-x, not -rw-r--r--"),
            ("program not executable", "usr/bin/sample", 0o644,
             "(data) ./usr/bin/sample: mode -rw-r--r--, not -rwxr-xr-x"),
            ("setuid program", "usr/bin/sample", 0o4755,
             "(data) ./usr/bin/sample: mode -rwsr-xr-x, not -rwxr-xr-x"),
        ]
        for what, name, mode, report in cases:
            with self.subTest(what):
                path = os.path.join(self.tree, name)
                good = os.stat(path).st_mode & 0o7777
                os.chmod(path, mode)
                try:
                    result = self.check()
                finally:
                    os.chmod(path, good)
                self.assertEqual(result.returncode, 1, result.stdout)
                self.assertEqual(result.stdout.splitlines(), ["sample.deb " + report])
                self.assertIn("1 of 15 members wrong", result.stderr)

    def test_MemberNotOwnedByRoot_IsNamed(self):
        # As a package packed from the builder's own files without fakeroot.
        result = self.check(owners={"./usr/share/doc/sample/copyright": 1000})
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertEqual(result.stdout.splitlines(), [
            "sample.deb (data) ./usr/share/doc/sample/copyright: owner 1000/1000, not 0/0 (root)"])


if __name__ == "__main__":
    unittest.main()
