#!/usr/bin/env node
// Writes a labelled corpus of English name spellings: groups of spellings
// of one name (positives within a group, negatives across groups), made
// from @faker-js/faker's English first-name and surname lists and the
// variants of spelling_variants.js. Faker supplies only the name lists;
// every random choice comes from our own seeded generator, so the output
// depends on the seed, the options and the pinned faker release alone.
//
// Usage: node generate.js [--kind words|full] [--seed N] [--groups N]
//                         [--variants N] [--cells N] [--out FILE]
//   words  one name per value, "group<TAB>value" rows (the default)
//   full   full names ("John Smith", "Smith, John", "Dr. J. Smith-Jones"),
//          one group per person, "group<TAB>value" rows
//   --cells N  instead of the labelled rows, a one-column CSV "name" of
//              N cells drawn from the corpus with repeats (a few spellings
//              are frequent, most are rare), as a user's list would be;
//              a cell with a comma ("Smith, John") is quoted.

import { writeFileSync } from 'node:fs';
import { en } from '@faker-js/faker';

import { safeVariants, variantsByRule } from './spelling_variants.js';

function parseOptions(argv) {
  const options = { kind: 'words', seed: 1, groups: Infinity, variants: 4, cells: 0, out: '' };
  for (let k = 0; k < argv.length; k += 2) {
    const key = argv[k].replace(/^--/, '');
    const value = argv[k + 1];
    if (!(key in options) || value === undefined) {
      throw new Error(`unknown option or missing value: ${argv[k]}`);
    }
    options[key] = key === 'kind' || key === 'out' ? value : Number(value);
    if (key !== 'kind' && key !== 'out' && !Number.isInteger(options[key])) {
      throw new Error(`--${key} needs a whole number`);
    }
  }
  if (options.kind !== 'words' && options.kind !== 'full') {
    throw new Error('--kind is words or full');
  }
  return options;
}

// mulberry32: small, fast and the same on every platform.
function makeRandom(seed) {
  let state = seed >>> 0;
  const next = () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  next.below = (n) => Math.floor(next() * n);
  next.pick = (list) => list[next.below(list.length)];
  next.shuffle = (list) => {
    for (let k = list.length - 1; k > 0; --k) {
      const o = next.below(k + 1);
      [list[k], list[o]] = [list[o], list[k]];
    }
    return list;
  };
  return next;
}

function capitalise(name) {
  const cap = (s) => s.charAt(0).toUpperCase() + s.slice(1);
  if (/^ma?c[a-z]{3}/.test(name)) {
    const cut = name.startsWith('mac') ? 3 : 2;
    return cap(name.slice(0, cut)) + cap(name.slice(cut));
  }
  return cap(name);
}

function letterNames(list) {
  return [...new Set(list.filter((n) => /^[A-Za-z]+$/.test(n)).map((n) => n.toLowerCase()))].sort();
}

// Faker's names that are one variant apart (Abbey, Abbie, Abby) are one
// name: they form one group, never a labelled negative pair.
function baseGroups(names, surnames) {
  const parent = new Map(names.map((n) => [n, n]));
  const find = (n) => (parent.get(n) === n ? n : find(parent.get(n)));
  for (const name of names) {
    for (const v of safeVariants(name, surnames.has(name))) {
      if (parent.has(v)) {
        const [a, b] = [find(name), find(v)].sort();
        parent.set(b, a);
      }
    }
  }
  const groups = new Map();
  for (const name of names) {
    const root = find(name);
    if (!groups.has(root)) groups.set(root, []);
    groups.get(root).push(name);
  }
  return [...groups.values()];
}

// Adds up to |count| misspellings of faker's spellings to |members|, never
// one that another group uses. One misspelling in four carries a second
// change; none carries more, as people rarely miss a name by more.
function addVariants(members, isSurname, count, taken, random) {
  const bases = [...members];
  const draw = (name) => {
    const rules = variantsByRule(name, isSurname).filter((r) => r.length > 0);
    return rules.length === 0 ? null : random.pick(random.pick(rules));
  };
  for (let tries = 0; members.length < bases.length + count && tries < 8 * count; ++tries) {
    let variant = draw(random.pick(bases));
    if (variant === null) continue;
    if (random() < 0.25) variant = draw(variant) || variant;
    if (taken.has(variant)) continue;
    taken.add(variant);
    members.push(variant);
  }
  return members;
}

function wordGroups(options, random) {
  const firstNames = letterNames(en.person.first_name.generic);
  const lastNames = letterNames(en.person.last_name.generic);
  const surnames = new Set(lastNames);
  const taken = new Set([...firstNames, ...lastNames]);
  const groups = random.shuffle(baseGroups([...taken].sort(), surnames));
  const chosen = groups.slice(0, Math.min(options.groups, groups.length));
  return chosen.map((members) => {
    const isSurname = members.some((n) => surnames.has(n));
    return {
      isSurname,
      spellings: addVariants([...members], isSurname, options.variants, taken, random).map(capitalise),
    };
  });
}

const TITLES = ['Dr.', 'Mr.', 'Mrs.', 'Ms.'];
const SUFFIXES = ['Jr.', 'Sr.', 'III'];

// The ways one person's name is written in a list: in order, reversed,
// with an initial, a title or a suffix, and with misspellings.
function personForms(first, last, random) {
  const f = () => random.pick(first);
  const l = () => random.pick(last);
  const forms = [
    `${first[0]} ${last[0]}`,
    `${l()}, ${f()}`,
    `${f()} ${l()}`,
    `${f().charAt(0)}. ${l()}`,
    `${random.pick(TITLES)} ${f()} ${l()}`,
    `${f()} ${l()} ${random.pick(SUFFIXES)}`,
    `${random.pick(TITLES)} ${f().charAt(0)}. ${l()}`,
  ];
  return [forms[0], ...random.shuffle(forms.slice(1)).slice(0, 2 + random.below(3))];
}

function fullNameGroups(options, random) {
  const words = wordGroups({ ...options, groups: Infinity }, random);
  const firsts = words.filter((g) => !g.isSurname).map((g) => g.spellings);
  const lasts = words.filter((g) => g.isSurname).map((g) => g.spellings);
  const groups = [];
  const seen = new Set();
  const count = Number.isFinite(options.groups) ? options.groups : 2000;
  while (groups.length < count) {
    const first = random.pick(firsts);
    let last = random.pick(lasts);
    // One person in ten has a double surname: Smith-Jones.
    if (random() < 0.1) {
      const other = random.pick(lasts);
      last = last.map((s) => `${s}-${random.pick(other)}`);
    }
    const key = `${first[0]} ${last[0]}`;
    if (seen.has(key)) continue;
    seen.add(key);
    const forms = [...new Set(personForms(first, last, random))].filter((v) => !seen.has(`=${v}`));
    forms.forEach((v) => seen.add(`=${v}`));
    groups.push({ spellings: forms });
  }
  return groups;
}

// N cells over the corpus's spellings: spelling k of the shuffled list is
// drawn with weight 1/(k+1), so a few are common and most are rare, and
// every spelling appears at least once while N allows.
function cells(spellings, n, random) {
  const order = random.shuffle([...spellings]);
  const out = order.slice(0, Math.min(n, order.length));
  const cumulative = [];
  let total = 0;
  for (let k = 0; k < order.length; ++k) cumulative.push((total += 1 / (k + 1)));
  while (out.length < n) {
    const r = random() * total;
    let lo = 0;
    let hi = cumulative.length - 1;
    while (lo < hi) {
      const mid = (lo + hi) >> 1;
      if (cumulative[mid] < r) lo = mid + 1;
      else hi = mid;
    }
    out.push(order[lo]);
  }
  return random.shuffle(out);
}

// A CSV field: quoted, its quotes doubled, when it holds a comma, a quote
// or a line break ("Smith, John" is one cell, not two).
function csvField(text) {
  return /[",\r\n]/.test(text) ? `"${text.replace(/"/g, '""')}"` : text;
}

function main() {
  const options = parseOptions(process.argv.slice(2));
  const random = makeRandom(options.seed);
  const groups = options.kind === 'full' ? fullNameGroups(options, random) : wordGroups(options, random);
  let text;
  if (options.cells > 0) {
    text = ['name', ...cells(groups.flatMap((g) => g.spellings), options.cells, random)]
      .map(csvField)
      .join('\n');
  } else {
    const rows = ['group\tvalue'];
    groups.forEach((g, id) => g.spellings.forEach((s) => rows.push(`${id + 1}\t${s}`)));
    text = rows.join('\n');
  }
  if (options.out) writeFileSync(options.out, text + '\n');
  else process.stdout.write(text + '\n');
}

try {
  main();
} catch (error) {
  process.stderr.write(`generate.js: ${error.message}\n`);
  process.exit(2);
}
