"""The inputs the golden battery puts through every surface.

One list, shared by the command line, Python and SQL parts (the C program
gets the same words on its standard input), so that a change of behaviour
shows up on every surface it reaches. Never reorder or edit entries in
place: append, and rerun the battery with --update, so that a diff of the
golden files shows only the cases that were added.
"""

# A few kB each: one long word, and a long text of many short words.
LONG_WORD = "abcdefghij" * 400
LONG_TEXT = "jones smyth " * 300
LONG_NAME = "Smith-" * 700 + "Smyth"

# Single words: common names, their sound-alikes, accents (UTF-8),
# apostrophes, typographic quotes, no letters at all, several words.
WORDS = [
    "Smith", "Smyth", "smith", "SMITH", "Smithe", "Schmidt", "Schmitt",
    "Thompson", "Thomson", "Catherine", "Kathryn", "Katrina", "Knight",
    "Night", "Reid", "Read", "Reed", "Stephen", "Steven", "Philip", "Filip",
    "McDonald", "MacDonald", "Jones", "Johns", "Zhang", "Chang", "Zbigniew",
    "Xzqwv", "José", "Jose", "Müller", "Muller", "Zoë", "François",
    "Łódź", "straße", "Ærø", "O'Neil", "O’Neil", "Smith-Jones",
    "Smith, John", "Jon Smyth", "John Smith", "", " ", "123", "!?", "東京",
    "naïve café", "a", "I", LONG_WORD, LONG_NAME,
]

# Pairs compared both ways: the score may differ with the order of words
# whose phone lists are equally long.
PAIRS = [
    ("Smith", "Smyth"), ("Thompson", "Thomson"), ("Catherine", "Kathryn"),
    ("Knight", "Night"), ("Reid", "Read"), ("Schmidt", "Smith"),
    ("Smith, John", "Jon Smyth"), ("John Smith", "Smith, John"),
    ("Stephen", "Steven"), ("Philip", "Filip"), ("McDonald", "MacDonald"),
    ("Smith", "Jones"), ("Smith", "smith"), ("Smith", "Smithe"),
    ("José", "Jose"), ("Müller", "Muller"), ("Zoë", "Zoe"),
    ("O'Neil", "O’Neil"), ("Catherine", "Katrina"), ("Zhang", "Chang"),
    ("", "Smith"), ("", ""), ("123", "Smith"), ("!?", "..."),
    ("東京", "Tokyo"), (LONG_WORD, "Smith"), (LONG_NAME, "Smith"),
    (LONG_TEXT, "jones smyth"), ("a", "I"), ("Knight", "Kniggit"),
    ("Jon Smyth", "John Smith"),
]

# Phrases found in texts: where the first phrase word's match lies.
MATCHES = [
    ("smith", "Mr John Smyth of London"),
    ("jon smith", "letter from Jon Smyth, London"),
    ("thomson", "Dear Mr. Thompson,"),
    ("knight", "one dark night"),
    ("zzyzx", "Mr John Smyth"),
    ("smith", "42"), ("", "Smith"), ("smith", ""),
    ("Müller", "Herr Muller aus Köln"), ("o'neil", "Mrs O’Neil's shop"),
    ("kathryn", "Catherine, Kathryn and Katrina"),
    ("smyth", LONG_TEXT), ("reid read", "we read Reid"),
]

# Lists searched for a word, with thresholds.
SIMILAR = [
    ("Smith", ["Smyth", "Smithe", "Schmidt", "Jones", "smith", "Smyth", ""],
     50),
    ("Smith", ["Smyth", "Smithe", "Schmidt", "Jones", "smith", "123"], 0),
    ("Smith", ["Smyth", "Smithe", "Schmidt", "Jones", "smith"], 90),
    ("Smith", ["Smyth", "Smithe", "Schmidt", "Jones", "smith"], 100),
    ("Catherine", ["Kathryn", "Katrina", "Katherine", "Cathy", "Karen"], 60),
    ("José", ["Jose", "José", "Josie", "Hose"], 50),
    ("Thompson", ["Thomson", "Tomson", "Thompsen", "Simpson"], 75),
    ("Knight", [], 50),
]

# Value lists grouped (dedupe) and linked: duplicates, accents, several
# words in either order, values without letters.
DEDUPE_VALUES = [
    "Smith", "Smyth", "Smith", "Smithe", "Schmidt", "Jones", "Johns",
    "Thompson", "Thomson", "Catherine", "Kathryn", "Katrina", "Knight",
    "Night", "Reid", "Read", "Reed", "José", "Jose", "Müller", "Muller",
    "Smith, John", "Jon Smyth", "John Smith", "Zhang", "Chang", "123", "",
    "McDonald", "MacDonald", "Stephen", "Steven", "Steven",
]
LINK_A = ["Smith", "Thompson", "Catherine", "Knight", "Reid", "José",
          "Smith, John", "Xzqwv", "Müller", "123"]
LINK_B = ["Smyth", "Smithe", "Thomson", "Kathryn", "Katrina", "Night",
          "Read", "Reed", "Jose", "Jon Smyth", "Muller", "Jones", "John Smith"]


def both_orders(a, b):
    """The pair (a, b) and, unless it is the same, (b, a)."""
    return [(a, b)] if a == b else [(a, b), (b, a)]


def short(text, width=28):
    """A case label's spelling of |text|: repr, cut in the middle when long
    so that labels stay on one line."""
    if len(text) <= width:
        return repr(text)
    return repr(text[:12] + "..." + text[-6:]) + "(%d chars)" % len(text)
