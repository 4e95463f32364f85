// Spelling variants of a name, made the way people misspell a name they
// have only heard: doubled or dropped consonants, ph/f, c/k/ck, ie/y/ey,
// silent letters, vowel swaps, -son/-sen, Mc/Mac and plurals. Every rule
// works on the lower-case name and lists every variant it can make; the
// generator draws from them with its own seeded random numbers.

const VOWELS = 'aeiouy';
const DOUBLABLE = 'bdfglmnprst';

function isVowel(c) {
  return VOWELS.includes(c);
}

// Each occurrence of |from| replaced by |to|, one occurrence at a time.
function replaceEach(name, from, to, where = () => true) {
  const out = [];
  for (let at = name.indexOf(from); at >= 0; at = name.indexOf(from, at + 1)) {
    if (where(at)) {
      out.push(name.slice(0, at) + to + name.slice(at + from.length));
    }
  }
  return out;
}

function replaceEnd(name, from, to) {
  return name.endsWith(from) && name.length > from.length + 1
    ? [name.slice(0, name.length - from.length) + to]
    : [];
}

// A single consonant after a vowel doubled (Philip/Phillip), or a double
// consonant made single (Phillips/Philips).
function doubledOrDropped(name) {
  const out = [];
  for (let k = 1; k < name.length; ++k) {
    const c = name[k];
    if (!DOUBLABLE.includes(c)) continue;
    if (name[k - 1] === c) {
      out.push(name.slice(0, k) + name.slice(k + 1));
    } else if (isVowel(name[k - 1]) && (k + 1 === name.length || isVowel(name[k + 1]))) {
      out.push(name.slice(0, k) + c + name.slice(k));
    }
  }
  return out;
}

// Letters that sound alike written for one another.
function soundAlikeLetters(name) {
  return [
    ...replaceEach(name, 'ph', 'f'),
    ...replaceEach(name, 'f', 'ph', (at) => at > 0 && name[at + 1] !== 'f'),
    ...replaceEach(name, 'phen', 'ven', (at) => at > 0),
    ...replaceEach(name, 'ck', 'k'),
    ...replaceEach(name, 'ck', 'c', (at) => !'eiy'.includes(name[at + 2] || 'e')),
    ...replaceEach(name, 'k', 'c', (at) => !'eiy'.includes(name[at + 1] || 'e')),
    ...replaceEach(name, 'c', 'k', (at) => name[at + 1] !== 'k' && name[at + 1] !== 'h' && !'eiy'.includes(name[at + 1] || 'e')),
    ...replaceEach(name, 'k', 'ck', (at) => at > 0 && isVowel(name[at - 1])),
    // s sounds z only between vowels or at the end (Rosa/Roza, Jules/Julez),
    // never before a consonant or another s (not Auztin, Jezsica).
    ...replaceEach(name, 's', 'z', (at) => at > 0 && isVowel(name[at - 1]) && (at + 1 === name.length || isVowel(name[at + 1]))),
    ...replaceEach(name, 'z', 's'),
    ...replaceEach(name, 'ei', 'ie'),
    ...replaceEach(name, 'ie', 'ei', (at) => at + 2 < name.length),
    ...replaceEach(name, 'ou', 'ow'),
    ...replaceEach(name, 'y', 'i', (at) => at > 0 && !isVowel(name[at - 1])),
    ...replaceEach(name, 'i', 'y', (at) => at > 0 && !isVowel(name[at - 1]) && !isVowel(name[at + 1] || 'a')),
  ];
}

// The endings of first names that are heard alike: Jamie, Jamey, Jamy.
function endingsAlike(name) {
  const endings = ['ie', 'y', 'ey', 'ee', 'i'];
  const out = [];
  for (const from of endings) {
    if (!name.endsWith(from) || name.length <= from.length + 1) continue;
    // After a vowel the ending is part of a diphthong: Joey and Roy are
    // not written Joee and Roie.
    if (isVowel(name[name.length - from.length - 1])) continue;
    if (from === 'i' && name.endsWith('ei')) continue;
    if (from === 'y' && name.endsWith('ey')) continue;
    for (const to of endings) {
      if (to !== from) out.push(...replaceEnd(name, from, to));
    }
  }
  return [
    ...out,
    ...replaceEnd(name, 'son', 'sen'),
    ...replaceEnd(name, 'sen', 'son'),
    ...replaceEnd(name, 'son', 'sson'),
    ...replaceEnd(name, 'er', 'or'),
    ...replaceEnd(name, 'or', 'er'),
    ...replaceEnd(name, 'ar', 'er'),
  ];
}

// Letters that are written but not heard, added or left out.
function silentLetters(name) {
  // A final e is silent after two consonants: Clark/Clarke, Young/Younge,
  // Brown/Browne. After a vowel and a consonant it changes the vowel
  // (Talon/Talone), so it is left alone there.
  const out = [];
  // After g only in ng: after another letter the e makes the g soft
  // (Marge, George), so Marg and Padberge are other names.
  const silentEAfter = (k) => k >= 2 && 'kngl'.includes(name[k]) && !isVowel(name[k - 1]) &&
    (name[k] !== 'g' || name[k - 1] === 'n');
  if (name.endsWith('e') && silentEAfter(name.length - 2)) {
    out.push(name.slice(0, -1));
  } else if (silentEAfter(name.length - 1)) {
    out.push(name + 'e');
  }
  out.push(...replaceEach(name, 'mps', 'ms'), ...replaceEach(name, 'ms', 'mps'));
  out.push(...replaceEach(name, 'wr', 'r', (at) => at === 0));
  out.push(...replaceEach(name, 'kn', 'n', (at) => at === 0));
  // gh is heard as g only before a vowel (Meaghan/Meagan); at the end or
  // before a consonant it is silent (Leigh is not written Leig).
  out.push(...replaceEach(name, 'gh', 'g', (at) => isVowel(name[at + 2] || '')));
  out.push(...replaceEach(name, 'th', 't'), ...replaceEach(name, 'h', '', (at) => at > 0 && 'jgrtw'.includes(name[at - 1])));
  out.push(...replaceEach(name, 'n', 'hn', (at) => at > 0 && name[at - 1] === 'o' && at === name.length - 1));
  return out;
}

// An unstressed-sounding vowel written as another: Isabel/Isobel,
// Christine/Christene. The first letter is kept: people hear it best.
function vowelSwaps(name) {
  const swaps = { a: 'eo', e: 'ai', i: 'ey', o: 'au', u: 'o' };
  const out = [];
  // In a short name every vowel is heard clearly: Dan and Don differ.
  if (name.length < 5) return out;
  // A final vowel is heard clearly too: Tamara is not Tamaro.
  for (let k = 2; k + 1 < name.length; ++k) {
    const c = name[k];
    // After c or g the vowel decides the consonant's sound (Marcelle).
    if (!swaps[c] || isVowel(name[k - 1]) || isVowel(name[k + 1]) || 'cg'.includes(name[k - 1])) continue;
    for (const to of swaps[c]) out.push(name.slice(0, k) + to + name.slice(k + 1));
  }
  // A vowel of a pair left out: Michael/Michel, Raphael/Raphel.
  for (let k = 2; k + 1 < name.length; ++k) {
    if (isVowel(name[k]) && isVowel(name[k + 1]) && name[k] !== 'y') {
      out.push(name.slice(0, k) + name.slice(k + 1));
    }
  }
  return out;
}

// Surname prefixes and plurals: McDonald/MacDonald, Phillip/Phillips.
function prefixesAndPlurals(name, isSurname) {
  const out = [];
  if (!isSurname) return out;
  if (name.startsWith('mac') && name.length > 5) out.push('mc' + name.slice(3));
  if (name.startsWith('mc') && name.length > 4) out.push('mac' + name.slice(2));
  if (name.endsWith('s') && !name.endsWith('ss') && name.length > 4) {
    out.push(name.slice(0, -1));
  } else if (!name.endsWith('s')) {
    out.push(name + 's');
  }
  return out;
}

// The rules whose variants are always heard as the same name; the others
// (a vowel or a final e changed) can turn one real name into another.
const SAFE_RULES = [doubledOrDropped, soundAlikeLetters, endingsAlike, prefixesAndPlurals];
const RULES = [...SAFE_RULES, silentLetters, vowelSwaps];

function variantsOf(rules, name, isSurname) {
  return rules.map((rule) => [...new Set(rule(name, isSurname))].filter((v) => v !== name && v.length >= 2));
}

// Every variant of |name| (lower case) that the safe rules make, without
// |name| itself: names this close in writing are one name.
export function safeVariants(name, isSurname) {
  return [...new Set(variantsOf(SAFE_RULES, name, isSurname).flat())];
}

// The variants of every rule, grouped by rule, for drawing a rule first and
// then a variant, so that rules with many variants (vowel swaps) do not
// crowd out the rest.
export function variantsByRule(name, isSurname) {
  return variantsOf(RULES, name, isSurname);
}
