"""Input generators for the cross-check of the engine against its reference.

Everything here draws from a `random.Random` handed in by the caller, so a
fixed seed gives the same inputs on every run.  Words are `bytes`: the
engine works on 8-bit strings, and the generators deliberately mix in
capitals, apostrophes, punctuation, digits and bytes >= 0x80.
"""

import re

import marrowfield_reference as ref

LOWER_WORD = re.compile(rb"^[a-z]+$")
LETTERS = b"abcdefghijklmnopqrstuvwxyz"
VOWEL_LETTERS = b"aeiouy"
NOISE_BYTES = b"'-.,;:!?()[]/\\&*\"_0123456789 \t"
NO_LETTERS = [b"", b" ", b"123", b"---", b"'", b"''", b"\xe9\xe8", b"4 5 6",
              b"!?", b"\t"]
SEPARATORS = [b" ", b"  ", b"   ", b", ", b"; ", b" - ", b"! ", b"... ",
              b"\t", b" (", b") ", b" \"", b"\" ", b"/", b" 42 "]
BLANK_VOWELS = {p for p in ref.phoneList
                if ref.IsVowel(p) and ref.CanBeBlank(p)}


def load_words(path):
    with open(path, "rb") as f:
        return [w for w in (line.rstrip(b"\r\n") for line in f) if w]


def load_name_groups(path):
    """One group of spellings of a name per line, comma-separated."""
    groups = []
    with open(path, "rb") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith(b"#"):
                continue
            variants = [v.strip() for v in line.split(b",") if v.strip()]
            if len(variants) >= 2:
                groups.append(variants)
    return groups


def mutate(rng, word):
    """Spells |word| the messy ways users type: case, punctuation, digits,
    apostrophes and bytes of other encodings."""
    out = bytearray(word)
    for _ in range(rng.randint(1, 3)):
        choice = rng.randrange(6)
        pos = rng.randint(0, len(out))
        if choice == 0:
            out = bytearray(bytes(out).upper() if rng.random() < 0.3
                            else bytes(out).capitalize())
        elif choice == 1:
            out[pos:pos] = b"'"
        elif choice == 2:
            out[pos:pos] = bytes([rng.choice(NOISE_BYTES)])
        elif choice == 3:
            out[pos:pos] = bytes([rng.randint(0x80, 0xFF)])
        elif choice == 4:
            out[pos:pos] = str(rng.randint(0, 999)).encode()
        else:
            out = bytearray(b" " * rng.randint(0, 2) + bytes(out)
                            + b" " * rng.randint(0, 2))
    return bytes(out)


def near_miss(rng, word):
    """One small spelling slip: a letter dropped, doubled, added or changed.
    Such pairs mostly align, which exercises the skip and revision steps."""
    if not word:
        return word
    pos = rng.randrange(len(word))
    choice = rng.randrange(4)
    if choice == 0 and len(word) > 1:
        return word[:pos] + word[pos + 1:]
    if choice == 1:
        return word[:pos + 1] + word[pos:pos + 1] + word[pos + 1:]
    if choice == 2:
        return word[:pos] + bytes([rng.choice(VOWEL_LETTERS)]) + word[pos:]
    return word[:pos] + bytes([rng.choice(LETTERS)]) + word[pos + 1:]


def prefix_groups(words, length):
    groups = {}
    for w in words:
        if len(w) > length:
            groups.setdefault(w[:length], []).append(w)
    return [g for g in groups.values() if len(g) >= 2]


def same_code_groups(transcribe, words):
    """Words sharing a consonant skeleton differ mostly in their vowels."""
    groups = {}
    for w in words:
        code = ref.GetCodes(transcribe(w, ref.MODE_LEXICON))
        groups.setdefault(code, []).append(w)
    return [groups[code] for code in sorted(groups) if len(groups[code]) >= 2]


def alignment_steps(transcribe, a, b):
    """The kinds of step the alignment of two words' phones goes through."""
    p1 = transcribe(ref.CleanWord(a), ref.MODE_LEXICON)
    p2 = transcribe(ref.CleanWord(b), ref.MODE_LEXICON)
    steps = []
    if p1 and p2:
        ref.GetDistanceForWords(p1, p2, steps)
    return steps


def rare_step_pairs(transcribe, rng, lower_words, wanted):
    """Pairs that reach the rarest alignment step -- a short vowel dropped
    after another vowel because the next phone suits its partner better, as
    in "y uh r" against "y er" -- and still score above 0, so that the step's
    effect shows in the percentage.  Real words seldom do both, so the
    candidates are respellings of words with a vowel, a short vowel and r,
    and words that share a consonant skeleton with a word having two vowels
    in a row."""
    candidates = []
    for w in lower_words:
        p = transcribe(w, ref.MODE_LEXICON)
        if any(ref.IsVowel(a) and b in BLANK_VOWELS and c == "r"
               for a, b, c in zip(p, p[1:], p[2:])):
            for m in re.finditer(rb"[aeiou]+r", w):
                respelt = w[:m.start()] + b"er" + w[m.end():]
                candidates.append((w, respelt))
                candidates += [(w, near_miss(rng, respelt)) for _ in range(3)]
    for group in same_code_groups(transcribe, lower_words):
        for a in group:
            p = transcribe(a, ref.MODE_LEXICON)
            if any(ref.IsVowel(x) and y in BLANK_VOWELS
                   for x, y in zip(p, p[1:])):
                candidates += [(a, b) for b in group[:60] if b != a]
    found = []
    for a, b in candidates:
        for x, y in ((a, b), (b, a)):
            if ("pass over previous vowel after vowel"
                    in alignment_steps(transcribe, x, y)
                    and 0.0 <= ref.CompareWords(x, y, transcribe) < 1.0):
                found.append((x, y))
    rng.shuffle(found)
    return found[:wanted]


def compare_pairs(transcribe, rng, groups, all_words, lower_words):
    """About twenty thousand word pairs for compare_words."""
    names = [n for g in groups for n in g]
    pairs = []
    for g in groups:
        pairs += [(a, b) for a in g for b in g]
    pairs += [(rng.choice(all_words), rng.choice(all_words))
              for _ in range(3000)]
    sharing = prefix_groups(lower_words, 3) + prefix_groups(lower_words, 5)
    for _ in range(2500):
        a, b = rng.sample(rng.choice(sharing), 2)
        # Both orders: equally long phone lists may score differently.
        pairs += [(a, b), (b, a)]
    for _ in range(1500):
        g = rng.choice(groups)
        pairs.append((mutate(rng, rng.choice(g)), rng.choice(g)))
        w = rng.choice(all_words)
        pairs.append((w, mutate(rng, w)))
    pairs += [(rng.choice(names), rng.choice(all_words)) for _ in range(1000)]
    slip_pool = lower_words + names
    for _ in range(1500):
        w = rng.choice(slip_pool)
        slip = near_miss(rng, w)
        pairs += [(w, slip), (slip, w)]
    skeletons = same_code_groups(transcribe, rng.sample(lower_words, 20000))
    for _ in range(1500):
        a, b = rng.sample(rng.choice(skeletons), 2)
        pairs += [(a, b), (b, a)]
    pairs += rare_step_pairs(transcribe, rng, lower_words, wanted=40)
    for _ in range(600):
        pairs.append((rng.choice(NO_LETTERS), rng.choice(names)))
        pairs.append((rng.choice(names), rng.choice(NO_LETTERS)))
    pairs += [(a, b) for a in NO_LETTERS for b in NO_LETTERS]
    return pairs


def candidate_list(rng, search, group, all_words, lower_words, names):
    """About two hundred candidates for one list search."""
    candidates = []
    if group:
        candidates += group
        candidates += [mutate(rng, v) for v in group]
    candidates += [near_miss(rng, search) for _ in range(20)]
    # Exact repeats and a capitalised copy sit at distance 0, so the
    # strictest threshold has something to accept and ties to order.
    candidates += [search, search, search.upper(), search + b"'"]
    prefix = search[:3].lower()
    same_prefix = [w for w in lower_words if w.startswith(prefix)]
    candidates += rng.sample(same_prefix, min(70, len(same_prefix)))
    candidates += rng.sample(names, 30)
    while len(candidates) < 196:
        candidates.append(rng.choice(all_words))
    # Null entries are passed over.
    candidates += [rng.choice(NO_LETTERS), None, None]
    rng.shuffle(candidates)
    return candidates


def messy_text(rng, words):
    out = bytearray()
    if rng.random() < 0.3:
        out += rng.choice([b"  ", b"-- ", b"'", b"...", b"1. "])
    for i, w in enumerate(words):
        if i:
            out += rng.choice(SEPARATORS)
        if rng.random() < 0.15:
            w = mutate(rng, w)
        out += w
    if rng.random() < 0.3:
        out += rng.choice([b".", b"!  ", b"  ", b"?'", b" 7"])
    return bytes(out)


def phrase_pairs(rng, groups, all_words, count):
    """(phrase, text) pairs: texts of 3-12 words with extra spaces and
    punctuation, phrases of 1-3 words mostly taken from the text."""
    variants = {}
    for g in groups:
        for n in g:
            variants.setdefault(n, g)
    pool = all_words + [n for g in groups for n in g] * 3
    pairs = []
    for _ in range(count):
        text_words = [rng.choice(pool) for _ in range(rng.randint(3, 12))]
        text = messy_text(rng, text_words)
        roll = rng.random()
        size = rng.choice([1, 1, 2, 2, 3])
        if roll < 0.02:
            phrase = rng.choice(NO_LETTERS)
        elif roll < 0.04:
            phrase, text = text_words[0], rng.choice(NO_LETTERS)
        elif roll < 0.5:
            # A run of the text's own words, sometimes respelt.
            first = rng.randrange(len(text_words))
            chosen = [rng.choice(variants[w]) if w in variants
                      and rng.random() < 0.5 else w
                      for w in text_words[first:first + size]]
            phrase = messy_text(rng, chosen)
        elif roll < 0.6 and len(set(text_words)) == len(text_words):
            # The same slip twice lands on one later text word, and the
            # first text word follows: the dropped duplicate, now a span at
            # 0, drops that match too.
            later = text_words[rng.randrange(1, len(text_words))]
            slip = near_miss(rng, later)
            phrase = messy_text(rng, [slip, slip, text_words[0]])
        elif roll < 0.8:
            # Words of the text in another order, repeats included, so that
            # two phrase words can land on the same text word.
            phrase = messy_text(rng, [rng.choice(text_words)
                                      for _ in range(size)])
        else:
            phrase = messy_text(rng, [rng.choice(pool) for _ in range(size)])
        pairs.append((phrase, text))
    return pairs
