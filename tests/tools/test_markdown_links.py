"""Tests of tools/markdown_links.py: the anchors it derives from headings
must be GitHub's, and it must find every broken relative link and report
none that works. Standard library only (unittest)."""

import os
import tempfile
import textwrap
import unittest

import markdown_links


class SlugTest(unittest.TestCase):
    def test_HeadingText_BecomesGitHubsAnchor(self):
        cases = [
            ("Quick start", "quick-start"),
            ("The add-in's dialogs", "the-add-ins-dialogs"),
            ("Threads, limits and memory", "threads-limits-and-memory"),
            ("Python (pip)", "python-pip"),
            ("snake_case names", "snake_case-names"),
            # Each space is a hyphen: dropped punctuation leaves runs.
            ("A -- B", "a----b"),
            ("explain WORD1 WORD2 [--scoring strict|tolerant]",
             "explain-word1-word2---scoring-stricttolerant"),
            ("Größe & Übersicht", "größe--übersicht"),
            ("…and then", "and-then"),
            ("Version 1.0", "version-10"),
        ]
        for text, anchor in cases:
            with self.subTest(text=text):
                self.assertEqual(markdown_links.slug(text), anchor)

    def test_HeadingMarkdown_CountsOnlyTheTextItShows(self):
        cases = [
            ("The `marrowfield` command", "The marrowfield command"),
            ("`search TEXT FILE...`", "search TEXT FILE..."),
            ("`` a`b ``", "a`b"),
            ("See [the guide](docs/cli.md)", "See the guide"),
            ("_Emphasis_ and __strong__", "Emphasis and strong"),
            ("keep `snake_case_` and snake_case", "keep snake_case_ and snake_case"),
            ("Tom &amp; Jerry", "Tom & Jerry"),
            ("An <em>HTML</em> tag", "An HTML tag"),
            (r"Escaped \_underscores\_", "Escaped _underscores_"),
        ]
        for markdown, text in cases:
            with self.subTest(markdown=markdown):
                self.assertEqual(markdown_links.rendered_text(markdown), text)


class ScanTest(unittest.TestCase):
    def anchors(self, markdown):
        return markdown_links.scan(textwrap.dedent(markdown))[0]

    def links(self, markdown):
        return markdown_links.scan(textwrap.dedent(markdown))[1]

    def test_RepeatedHeadings_AreNumberedAsGitHubNumbersThem(self):
        anchors = self.anchors("""\
            # Usage
            ## Usage
            ### Usage
            ## Usage 1
            """)
        # The fourth would be usage-1, which the second took.
        self.assertEqual(anchors, {"usage", "usage-1", "usage-2", "usage-1-1"})

    def test_Headings_OfAllKindsAreFound_ButNotThoseInCode(self):
        anchors = self.anchors("""\
            Setext one
            ==========
            Setext two
            ----------
            ## Closed heading ##
               ### Indented three spaces
            ```sh
            # a comment, not a heading
            ```
            ~~~~
            # nor this
            ```
            # still code: the fence is of tildes
            ~~~~
            <a name="explicit"></a>
            <div id="by-id"></div>
            - item
            ---
            """)
        self.assertEqual(anchors, {"setext-one", "setext-two", "closed-heading",
                                   "indented-three-spaces", "explicit", "by-id"})

    def test_Links_OfAllKindsAreFound_WithTheirLines(self):
        links = self.links("""\
            Inline [a](a.md) and ![an image](img/b.png "its title").
            A [link whose text runs over
            two lines](c.md#part) and <a href="d.md">HTML</a>.
            [ref]: e.md
            [angle](<f g.md>)
            """)
        self.assertEqual(links, [(1, "a.md"), (1, "img/b.png"), (3, "c.md#part"),
                                 (3, "d.md"), (4, "e.md"), (5, "f g.md")])

    def test_LinksInCode_AreNotLinks(self):
        links = self.links("""\
            Text `[not](a.md)` and ``[nor](b.md)``.
            ```
            [inside](c.md)
            ```
            [`code as text`](d.md)
            """)
        self.assertEqual(links, [(5, "d.md")])


class BrokenLinksTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = self.folder.name
        self.write("docs/guide.md", "# The guide\n## Steps\n## Steps\n")
        self.write("docs/README.md", "# Docs\n")
        self.write("docs/picture.png", "")
        self.write("tools/run.sh", "")
        self.write("empty/.keep", "")

    def tearDown(self):
        self.folder.cleanup()

    def write(self, name, text):
        path = os.path.join(self.root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)

    def problems(self, markdown):
        self.write("README.md", "# Top\n" + markdown)
        return markdown_links.broken_links(self.root, ["README.md"])[0]

    def test_LinksThatResolve_AreNotReported(self):
        working = [
            "[file](docs/guide.md)",
            "[heading](docs/guide.md#the-guide)",
            "[repeat](docs/guide.md#steps-1)",
            "[here](#top)",
            "[folder](docs)",
            "[folder](docs/)",
            "[folder's README](docs#docs)",
            "[root-relative](/docs/guide.md)",
            "[up and back](docs/../docs/guide.md)",
            "[escaped](docs/guide%2Emd)",
            "![image](docs/picture.png)",
            "[lines](tools/run.sh#L3-L5)",
            "[web](https://example.com/x.md#nowhere)",
            "[mail](mailto:help@marrowfield.example)",
            "[protocol-relative](//example.com/y)",
        ]
        for link in working:
            with self.subTest(link=link):
                self.assertEqual(self.problems(link + "\n"), [])

    def test_LinksThatDoNotResolve_AreEachReportedWithTheirLine(self):
        broken = [
            ("[gone](docs/missing.md)", "no such file or folder"),
            ("[case](docs/Guide.md)", "no such file or folder"),
            ("[heading](docs/guide.md#nowhere)", "no heading or anchor 'nowhere'"),
            ("[third repeat](docs/guide.md#steps-2)", "no heading or anchor 'steps-2'"),
            ("[upper case](#Top)", "no heading or anchor 'Top'"),
            ("[here](#missing)", "no heading or anchor 'missing' in README.md"),
            ("[out](../outside.md)", "leads out of the repository"),
            ("[folder](empty#x)", "folder without README.md"),
            ("[not markdown](tools/run.sh#usage)", "not Markdown"),
        ]
        for link, why in broken:
            with self.subTest(link=link):
                problems = self.problems("\n" + link + "\n")
                self.assertEqual(len(problems), 1, problems)
                self.assertTrue(problems[0].startswith("README.md:3: "), problems[0])
                self.assertIn(why, problems[0])

    def test_EveryLinkIsCounted_AndEveryBrokenOneReported(self):
        self.write("README.md", "[a](x.md) [b](#top) [c](y.md)\n"
                   "[d](https://example.com)\n# Top\n")
        problems, links = markdown_links.broken_links(self.root, ["README.md"])
        self.assertEqual(links, 3)
        self.assertEqual([p.split(": ")[1] for p in problems], ["x.md", "y.md"])


if __name__ == "__main__":
    unittest.main()
