"""A slow, plain Python model of Marrowfield's phonetic engine.

It exists to cross-check the C++ engine: every algorithm is written out the
long way, step by step, with no attempt at speed, so that a reader can check
it line by line against the intended behaviour.  The only thing it does not
model is Flite itself: turning a cleaned word into phones is left to a
`transcribe(word, mode)` callable that the caller supplies (the comparison
script asks the built library's `get_phonemes` for it).

Words are `bytes` throughout, because the engine works on 8-bit strings and
treats every byte outside a-z and A-Z alike, whatever its encoding.
Phones are `str` ("aa", "ch", ...).
"""

import functools
import math

MODE_LEXICON = 0
MODE_LTS_ONLY = 1

# ---------------------------------------------------------------------------
# Phone inventory and properties
# ---------------------------------------------------------------------------

NO_TYPE = 0
LONG_VOWEL = 1
SHORT_VOWEL = 2
CONSONANT = 4
YARALAVA = 5
ASPIRATE = 17

UNRELATED_DISTANCE = 50
VOWEL_PAIR_DISTANCE = 25

# (phone, isVowel, canBeBlank, phoneType, phoneCode), in inventory order.
PHONE_INVENTORY = [
    ("aa", True, False, LONG_VOWEL, 0),
    ("ae", True, False, LONG_VOWEL, 0),
    ("ah", True, True, SHORT_VOWEL, 0),
    ("ax", True, True, SHORT_VOWEL, 0),
    ("ao", True, False, LONG_VOWEL, 0),
    ("er", True, False, LONG_VOWEL, 0),
    ("ih", True, True, SHORT_VOWEL, 0),
    ("iy", True, False, LONG_VOWEL, 0),
    ("uh", True, True, SHORT_VOWEL, 0),
    ("uw", True, False, LONG_VOWEL, 0),
    ("eh", True, True, SHORT_VOWEL, 0),
    ("y", True, True, SHORT_VOWEL, 0),
    ("ey", True, False, LONG_VOWEL, 0),
    ("ay", True, False, LONG_VOWEL, 0),
    ("oy", True, False, LONG_VOWEL, 0),
    ("ow", True, False, LONG_VOWEL, 0),
    ("aw", True, False, LONG_VOWEL, 0),
    ("k", False, False, CONSONANT, 1),
    ("g", False, False, CONSONANT, 1),
    ("ng", False, False, CONSONANT, 1),
    ("ch", False, False, CONSONANT, 2),
    ("z", False, False, CONSONANT, 2),
    ("jh", False, False, CONSONANT, 2),
    ("zh", False, False, CONSONANT, 2),
    ("t", False, False, CONSONANT, 3),
    ("th", False, False, CONSONANT, 3),
    ("dh", False, False, CONSONANT, 3),
    ("n", False, False, CONSONANT, 4),
    ("p", False, False, CONSONANT, 5),
    ("f", False, False, CONSONANT, 5),
    ("b", False, False, CONSONANT, 5),
    ("m", False, False, CONSONANT, 6),
    ("r", False, True, YARALAVA, 7),
    ("l", False, False, YARALAVA, 8),
    ("w", False, True, YARALAVA, 9),
    ("v", False, True, YARALAVA, 9),
    ("s", False, False, CONSONANT, 2),
    ("sh", False, False, CONSONANT, 2),
    ("hh", False, True, ASPIRATE, 10),
    ("d", False, False, CONSONANT, 3),
    ("$", False, False, NO_TYPE, 11),
]

phoneList = [row[0] for row in PHONE_INVENTORY]
_isVowel = {row[0]: row[1] for row in PHONE_INVENTORY}
_canBeBlank = {row[0]: row[2] for row in PHONE_INVENTORY}
_phoneType = {row[0]: row[3] for row in PHONE_INVENTORY}
_phoneCode = {row[0]: row[4] for row in PHONE_INVENTORY}

# The pairs whose distance differs from the default; each holds both ways.
_LISTED_DISTANCES = {
    0: "w-v",
    1: "z-jh zh-sh s-sh",
    2: "aa-ae aa-ax aa-aw ah-ax ah-er ao-ow er-r er-$ ih-iy uh-uw eh-y eh-ey "
       "y-ey y-ay y-oy y-$ ey-ay ey-oy ey-$ ay-oy z-zh jh-zh th-dh r-$ l-$ "
       "w-$ v-$",
    3: "g-ng ch-z ch-jh ch-zh",
    4: "aa-ah aa-ao aa-oy ax-ao ao-uh ao-aw ih-eh iy-y oy-aw ow-aw dh-d",
    5: "ih-y",
    6: "aa-ow aa-w aa-v ae-ah ae-ax ao-uw iy-eh iy-ey uh-ow uw-ow uw-aw "
       "oy-ow t-th t-dh",
    8: "aa-er ax-er ax-uh aw-w aw-v p-f",
    10: "k-g z-s p-b",
    12: "ch-s",
    15: "t-d",
}


def _build_listed_pairs():
    pairs = {}
    for distance, text in _LISTED_DISTANCES.items():
        for pair in text.split():
            a, b = pair.split("-")
            pairs[(a, b)] = distance
            pairs[(b, a)] = distance
    return pairs


_listedPairs = _build_listed_pairs()
assert len(_listedPairs) == 2 * 72, "the table lists 72 unordered pairs"


def IsVowel(phone):
    # A phone the engine does not know reads as the tables' default entry.
    return _isVowel.get(phone, False)


def CanBeBlank(phone):
    return _canBeBlank.get(phone, False)


def GetPhoneType(phone):
    return _phoneType.get(phone, NO_TYPE)


def GetPhoneCode(phone):
    return _phoneCode.get(phone, 0)


def GetPhoneDistance(a, b):
    # The engine's table lookup inserts a default of 0 for anything it does
    # not hold, so a phone outside the inventory is at 0 from everything.
    if a not in _isVowel or b not in _isVowel:
        return 0
    if a == b:
        return 0
    if (a, b) in _listedPairs:
        return _listedPairs[(a, b)]
    if IsVowel(a) and IsVowel(b):
        return VOWEL_PAIR_DISTANCE
    return UNRELATED_DISTANCE


# ---------------------------------------------------------------------------
# Cleaning words
# ---------------------------------------------------------------------------

def LowerCaseWord(word):
    # Plain ASCII folding; no locale is ever involved.
    return bytes(c + 32 if 0x41 <= c <= 0x5A else c for c in word)


def MapWordCharacters(word):
    out = bytearray()
    for c in word:
        if c == 0x27:  # an apostrophe vanishes, so O'Neil reads as oneil
            continue
        if 0x41 <= c <= 0x5A:
            c += 32
        # Only letters carry sound; anything else becomes a separating space.
        out.append(c if 0x61 <= c <= 0x7A else 0x20)
    return bytes(out)


def CleanWord(word):
    # The spaces at the two ends go after mapping: the letter-to-sound rules
    # would read them as context (" John" sounding like "y aa n").
    return TrimSpaces(MapWordCharacters(LowerCaseWord(word)))


# ---------------------------------------------------------------------------
# Nearest phone
# ---------------------------------------------------------------------------

NO_NEAREST_PHONE = -99


def FindNearestPhone(phone, otherList, j):
    """Returns (nearestPhoneIndex, currentDistance)."""
    currentDistance = -1
    result = NO_NEAREST_PHONE
    best = UNRELATED_DISTANCE
    first = j - 1 if j > 0 else 0
    last = j + 1 if j < len(otherList) - 1 else j
    for k in range(first, last + 1):
        d = GetPhoneDistance(phone, otherList[k])
        if d == UNRELATED_DISTANCE:
            # Unrelated phones are never paired, even if nothing is closer.
            continue
        # The phone straight across wins a tie with the one before it; the
        # one after only wins by being strictly nearer.
        if d < best or (k == j and d == best):
            best = d
            currentDistance = d
            result = k - j
    return result, currentDistance


# ---------------------------------------------------------------------------
# Skippable phones
# ---------------------------------------------------------------------------

def _is_vowel_type(phoneType):
    return phoneType in (LONG_VOWEL, SHORT_VOWEL)


def CanBeSkipped(phones, position):
    cur = phones[position]
    last = position == len(phones) - 1
    prev = phones[position - 1] if position > 0 else None
    prevType = GetPhoneType(prev) if position > 0 else -1
    curType = GetPhoneType(cur)

    if curType == YARALAVA:
        # r, l, w and v go silent only after a vowel, at the end of a word or
        # before a consonant or another of their kind (the r of "park").
        if position == 0:
            return False
        if prevType == CONSONANT:
            return False
        if prev == cur:
            return False
        if _is_vowel_type(prevType):
            if last:
                return True
            nextType = GetPhoneType(phones[position + 1])
            if nextType == CONSONANT:
                return True
            if _is_vowel_type(nextType):
                return False
            if nextType == YARALAVA:
                return True
            return False
        return False

    if curType == ASPIRATE:
        # An h after a consonant is easily lost; after a vowel it is heard.
        if prevType in (CONSONANT, YARALAVA):
            return True
        if _is_vowel_type(prevType):
            return False
        # Otherwise hh is judged like any other phone.

    if position == 0:
        return True
    if IsVowel(cur):
        return True
    return IsVowel(prev)


# ---------------------------------------------------------------------------
# Alignment
# ---------------------------------------------------------------------------

SKIP_DISTANCE = 5.0


def _can_pass_over(phones, position):
    # Both tests are needed, blank first.
    return CanBeBlank(phones[position]) and CanBeSkipped(phones, position)


def AlignPhones(string1, string2, simValues, currentMismatchedPositions,
                steps=None):
    """Appends to the two output lists; returns 0, or -1 when refused.

    When |steps| is a list, the name of every kind of step taken is appended
    to it, so that a test can tell which paths its inputs reached."""
    def took(kind):
        if steps is not None:
            steps.append(kind)

    i = 0
    j = 0
    previousDistance = -99999
    skip = int(SKIP_DISTANCE)
    while i < len(string1) and j < len(string2):
        cur = string1[i]
        nearestPhoneIndex, currentDistance = FindNearestPhone(cur, string2, j)
        if nearestPhoneIndex == 0:
            took("match")
            simValues.append(currentDistance)
            if currentDistance != 0:
                currentMismatchedPositions.append(i)
            previousDistance = currentDistance
        elif nearestPhoneIndex == 1:
            # The other word has an extra phone here; it must be silent-able.
            if not _can_pass_over(string2, j):
                took("refused extra phone")
                return -1
            took("pass over extra phone")
            # Losing the very first phone of a word is heard more clearly.
            simValues.append(2 * skip if j == 0 else skip)
            currentMismatchedPositions.append(i)
            simValues.append(currentDistance)
            currentMismatchedPositions.append(i)
            previousDistance = currentDistance
            if currentDistance != 0:
                currentMismatchedPositions.append(i)
        elif nearestPhoneIndex == -1:
            # The phone before j, already given to the previous phone, suits
            # this one too: whichever fits it worse is passed over.
            if previousDistance < currentDistance:
                if not _can_pass_over(string1, i):
                    took("refused current phone")
                    return -1
                took("pass over current phone")
                simValues.append(skip)
                currentMismatchedPositions.append(i)
            else:
                if not _can_pass_over(string1, i - 1):
                    took("refused previous phone")
                    return -1
                took("pass over previous phone")
                simValues.pop()
                simValues.append(skip)
                simValues.append(currentDistance)
                previousDistance = currentDistance
                currentMismatchedPositions.append(i - 1)
                currentMismatchedPositions.append(i - 1)
                if (IsVowel(string1[i - 1]) and i > 1
                        and IsVowel(string1[i - 2])):
                    took("pass over previous vowel after vowel")
                    simValues.append(skip)
                    currentMismatchedPositions.append(i - 1)
        else:
            # Nothing in the window is related to this phone.
            took("nothing near")
            return -1
        j = j + nearestPhoneIndex + 1
        i = i + 1
    if i == len(string1) and j == len(string2):
        took("nothing left over")
    else:
        took("left over in walked list" if i < len(string1)
             else "left over in other list")
    status = AlignRemainingPhones(string1, string2, i, j,
                                  currentMismatchedPositions, simValues)
    if status < 0:
        took("refused left-over phone")
    return status


def AlignRemainingPhones(string1, string2, i, j, currentMismatchedPositions,
                         simValues):
    if i == len(string1) and j == len(string2):
        return 0
    if i < len(string1):
        rest, k = string1, i
    else:
        rest, k = string2, j
    while k < len(rest):
        if not _can_pass_over(rest, k):
            return -1
        # The position itself is recorded, so late leftovers weigh more.
        simValues.append(k)
        currentMismatchedPositions.append(k)
        k += 1
    return 0


# ---------------------------------------------------------------------------
# Word distance and similarity
# ---------------------------------------------------------------------------

def ScoreAlignment(simValues, currentMismatchedPositions, LengthOfWord):
    v = simValues
    n = len(v)
    m = len(currentMismatchedPositions)
    L = LengthOfWord
    if m == 0:
        return 0.0
    spreadFloor = (L * L - 1) * 0.01
    if spreadFloor < 0.1:
        spreadFloor = 0.1
    elif spreadFloor > 0.4:
        spreadFloor = 0.4
    D = (L * L - m) * m
    if D <= 0:
        # Too many differences for so short a word: no measure at all.
        return -1.0
    cumulativeVal = sum(v)
    # A positive denominator implies a non-empty shorter list, and then at
    # least one recorded value is positive.
    assert cumulativeVal > 0, (simValues, currentMismatchedPositions, L)
    weightedIndexSum = 0
    for index in range(n):
        weightedIndexSum += index * v[index]
    Mean = weightedIndexSum / cumulativeVal
    varianceSum = 0.0
    for index in range(n):
        offset = index - Mean
        varianceSum += v[index] * (offset * offset)
    W = varianceSum / cumulativeVal
    # Differences spread across the word count for more than a cluster.
    S = math.sqrt(W) + spreadFloor
    return cumulativeVal * S / D


def GetDistanceForWords(first, second, steps=None):
    # The shorter list is walked; the first word's list when equally long.
    if len(second) < len(first):
        string1, string2 = second, first
    else:
        string1, string2 = first, second
    simValues = []
    currentMismatchedPositions = []
    if AlignPhones(string1, string2, simValues, currentMismatchedPositions,
                   steps) < 0:
        return -1.0
    return ScoreAlignment(simValues, currentMismatchedPositions, len(string1))


def GetDistanceForPhoneLists(list1, list2):
    return GetDistanceForWords(list(list1), list(list2))


def GetPhonesForPair(word1, word2, transcribe):
    """Returns (status, cleaned word1, cleaned word2, phones1, phones2)."""
    word1 = CleanWord(word1)
    phones1 = transcribe(word1, MODE_LEXICON)
    if not phones1:
        return -1, word1, word2, phones1, []
    word2 = CleanWord(word2)
    phones2 = transcribe(word2, MODE_LEXICON)
    if not phones2:
        return -1, word1, word2, phones1, phones2
    return 0, word1, word2, phones1, phones2


def MeasureWordPair(word1, word2, transcribe):
    """Returns (distance, phones of word1, phones of word2)."""
    status, _, _, phones1, phones2 = GetPhonesForPair(word1, word2, transcribe)
    if status < 0:
        # A word without phones cannot be compared with anything.
        return -1.0, phones1, phones2
    return GetDistanceForWords(phones1, phones2), phones1, phones2


def CompareWords(word1, word2, transcribe):
    return MeasureWordPair(word1, word2, transcribe)[0]


def DistanceToPercentage(distance):
    if distance == -1.0 or distance > 1.0:
        distance = 1.0
    return int(100.0 - 100.0 * distance)  # int() truncates toward zero


def compare_words(word1, word2, transcribe):
    return DistanceToPercentage(CompareWords(word1, word2, transcribe))


# ---------------------------------------------------------------------------
# List search
# ---------------------------------------------------------------------------

DEFAULT_DISTANCE_THRESHOLD = 0.5


def ThresholdForPercent(percent):
    return 1.0 - percent / 100.0


class Candidate:
    def __init__(self, word, distance):
        self.word = word
        self.distance = distance

    def __repr__(self):
        return "Candidate(%r, %r)" % (self.word, self.distance)


def CandidateBefore(a, b):
    if a.distance < b.distance:
        return True
    # bytes compare unsigned and a longer word beats its own prefix.
    return a.distance == b.distance and a.word > b.word


def SortCandidates(candidates):
    def order(a, b):
        if CandidateBefore(a, b):
            return -1
        if CandidateBefore(b, a):
            return 1
        return 0
    candidates.sort(key=functools.cmp_to_key(order))


def RankCandidates(searchWord, candidateList, distanceThreshold, transcribe):
    accepted = []
    for c in candidateList:
        d, first, second = MeasureWordPair(searchWord, c, transcribe)
        if d == -1.0:
            continue
        if len(first) == len(second):
            # For equally long lists the walk order matters; averaging both
            # orders makes the search symmetric in its two words.
            d2 = GetDistanceForWords(second, first)
            if d2 < 0.0:
                d = -1.0
            else:
                d = (d + d2) / 2.0
        if 0.0 <= d <= distanceThreshold:
            accepted.append(Candidate(c, d))
    SortCandidates(accepted)
    return accepted


def GetSimilarWords(searchWord, candidates, distanceThreshold, transcribe):
    # None entries stand for null pointers, which are passed over.
    candidateList = [c for c in candidates if c is not None]
    ranked = RankCandidates(searchWord, candidateList, distanceThreshold,
                            transcribe)
    return [c.word for c in ranked]


# ---------------------------------------------------------------------------
# Phonetic codes
# ---------------------------------------------------------------------------

def GetCodes(phones):
    code = ""
    n = len(phones)
    for i in range(n):
        phone = phones[i]
        if IsVowel(phone):
            # Vowels vanish, but an er running into a vowel is heard as r.
            if phone == "er" and i + 1 < n and IsVowel(phones[i + 1]):
                code += str(GetPhoneCode("r"))
        else:
            if phone in ("r", "l") and CanBeSkipped(phones, i):
                continue
            code += str(GetPhoneCode(phone))
    return code


# ---------------------------------------------------------------------------
# Phrase search
# ---------------------------------------------------------------------------

def TrimSpaces(s):
    start = 0
    while start < len(s) and s[start] == 0x20:
        start += 1
    end = len(s)
    while end > start and s[end - 1] == 0x20:
        end -= 1
    return s[start:end]


def SplitWords(s):
    words = []
    pos = 0
    while True:
        while pos < len(s) and s[pos] == 0x20:
            pos += 1
        if pos >= len(s):
            return words
        end = pos
        while end < len(s) and s[end] != 0x20:
            end += 1
        words.append(s[pos:end])
        pos = end


def MatchWordInText(phraseWord, text, mode, transcribe):
    """Returns (best, start, length); length is None when never written."""
    phrasePhones = transcribe(phraseWord, mode)
    words = SplitWords(text)
    best = -1
    bestIndex = 0
    length = None
    for k, word in enumerate(words):
        wordPhones = transcribe(word, mode)
        d = GetDistanceForPhoneLists(phrasePhones, wordPhones)
        if d == -1.0 or d > 1.0:
            d = 1.0
        score = int(100.0 - 100.0 * d)
        # The earliest of equally good words is kept.
        if score > best:
            best = score
            bestIndex = k
            length = len(word)
    start = 0
    for k in range(bestIndex):
        start += len(words[k]) + 1
    return best, start, length


def MatchPhrase(phrase, text, mode, transcribe):
    """Returns (score, matchStart, matchLength); both None when not written."""
    phrase = TrimSpaces(CleanWord(phrase))
    text = TrimSpaces(CleanWord(text))
    if not phrase or not text:
        return -1, None, None
    phraseWords = SplitWords(phrase)
    n = len(phraseWords)
    starts = [0] * n
    lengths = [0] * n
    scores = [0] * n
    for i in range(n):
        scores[i], starts[i], lengths[i] = MatchWordInText(
            phraseWords[i], text, mode, transcribe)
        if scores[i] == 0:
            # One word that sounds like nothing sinks the whole phrase.
            return 0, -1, 0
    # Two phrase words landing on the same text word count once.
    for a in range(n - 1):
        for b in range(a + 1, n):
            if (starts[b] <= starts[a] + lengths[a]
                    and starts[b] + lengths[b] >= starts[a]):
                starts[b] = 0
                lengths[b] = 0
                scores[b] = 0
    weighted = 0
    total = 0
    for i in range(n):
        weighted += lengths[i] * scores[i]
        total += lengths[i]
    return weighted // total, starts[0], lengths[0]
