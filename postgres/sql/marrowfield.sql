-- The functions and the operator over single values, with the settings.
CREATE EXTENSION marrowfield;

-- Scores of names that sound alike, that sound different, and of texts
-- without a letter (NULL).
SELECT a, b, marrowfield_score(a, b)
FROM (VALUES ('Smith', 'Smyth'), ('Smith', 'Smithe'), ('Catherine', 'Kathryn'),
             ('Philip', 'Filip'), ('Stephen', 'Steven'), ('Smith', 'Jones'),
             ('Smith', 'smith'), ('McDonald', 'MacDonald'),
             ('John Smith', 'Jon Smyth'), ('', 'Smith'), ('Smith', '123'),
             ('!?', '')) AS t(a, b);
SELECT marrowfield_score(NULL, 'Smith') IS NULL AS null_in_null_out;

-- Phones from the lexicon and by the rules alone; words the lexicon lacks.
SELECT w, marrowfield_phones(w) AS lexicon, marrowfield_phones(w, true) AS rules
FROM (VALUES ('Smith'), ('Knight'), ('Zbigniew'), ('O''Neil'), (''),
             ('123')) AS t(w);
SELECT marrowfield_phones('Smith', NULL) IS NULL AS null_rules;

-- Consonant codes: the word is looked up exactly as given.
SELECT w, marrowfield_code(w)
FROM (VALUES ('Smith'), ('smith'), ('Catherine'), ('Kathryn'), ('')) AS t(w);

-- A phrase's place in a text, counted from 1 in the normalised text.
SELECT p, b, (marrowfield_match(p, b)).*
FROM (VALUES ('smith', 'Mr John Smyth of London'),
             ('jon smith', 'letter from Jon Smyth, London'),
             ('zzyzx', 'Mr John Smyth'), ('smith', '42'), ('', 'Smith'))
  AS t(p, b);

-- Bytes outside ASCII separate words, as any other non-letter does.
SELECT marrowfield_score('Müller', 'Muller') AS umlaut,
       marrowfield_score('José', 'Jose') AS acute,
       marrowfield_score('東京', 'Tokyo') IS NULL AS no_letter,
       marrowfield_phones('Ærø') AS phones;

-- A megabyte: one word, and a body of many words.
SELECT marrowfield_score(repeat('abcdefghij', 100000), 'Smith') AS long_word,
       (marrowfield_match('smith', repeat('jones smyth ', 87382))).*;

-- The operator follows marrowfield.accuracy.
SHOW marrowfield.accuracy;
SELECT 'Smith' %~ 'Smyth' AS smyth, 'Smith' %~ 'Jones' AS jones,
       'Smith' %~ '' AS empty;
SET marrowfield.accuracy = 80;
SELECT 'Smith' %~ 'Smyth' AS smyth_at_80, 'Smith' %~ 'smith' AS smith_at_80;
SET marrowfield.accuracy = 0;
SELECT 'Smith' %~ 'Jones' AS jones_at_0, 'Smith' %~ '123' AS no_letter_at_0;
SET marrowfield.accuracy = 101;
RESET marrowfield.accuracy;

-- The cache's size changes no answer; 0 turns it off.
SHOW marrowfield.cache_size;
CREATE TABLE names (id int, name text);
INSERT INTO names
SELECT n, (ARRAY['Smith', 'Smyth', 'Smythe', 'Schmidt', 'Jones', 'Johns',
                 'Catherine', 'Kathryn', 'Katrina', 'Stephen', 'Steven',
                 'Stevens', 'Philips', 'Phillips', 'Filips', 'Zhang',
                 'Chang', 'MacDonald', 'McDonald', 'Donaldson'])[n % 20 + 1]
           || CASE WHEN n % 7 = 0 THEN 'e' ELSE '' END
FROM generate_series(1, 400) AS n;
CREATE TABLE scores AS
SELECT a.id AS a, b.id AS b, marrowfield_score(a.name, b.name) AS score
FROM names a, names b WHERE a.id % 10 = 0;
SET marrowfield.cache_size = 0;
SELECT count(*) AS differences
FROM scores s JOIN names a ON a.id = s.a JOIN names b ON b.id = s.b
WHERE marrowfield_score(a.name, b.name) IS DISTINCT FROM s.score;
SET marrowfield.cache_size = '64kB';
SHOW marrowfield.cache_size;
SELECT count(*) AS differences
FROM scores s JOIN names a ON a.id = s.a JOIN names b ON b.id = s.b
WHERE marrowfield_score(a.name, b.name) IS DISTINCT FROM s.score;
SET marrowfield.cache_size = -1;
SET marrowfield.cache_size = '1GB';
RESET marrowfield.cache_size;

-- In parallel workers, the same answers, at the session's accuracy.
SET marrowfield.accuracy = 75;
SELECT count(*) AS sounds_like_smith_at_75 FROM names WHERE name %~ 'Smith';
SET parallel_setup_cost = 0;
SET parallel_tuple_cost = 0;
SET min_parallel_table_scan_size = 0;
EXPLAIN (COSTS OFF)
SELECT count(*) FROM names WHERE name %~ 'Smith';
SELECT count(*) AS sounds_like_smith,
       sum(marrowfield_score(name, 'Smith')) AS total_score
FROM names WHERE name %~ 'Smith';
SET marrowfield.accuracy = 60;
-- The other functions in workers too, with the parallel costs above and no
-- setting that later servers renamed (force_parallel_mode).
EXPLAIN (COSTS OFF)
SELECT name, marrowfield_phones(name), marrowfield_code(name),
       (marrowfield_match('smith', 'Mr ' || name)).score
FROM names WHERE id <= 3 ORDER BY id;
SELECT name, marrowfield_phones(name), marrowfield_code(name),
       (marrowfield_match('smith', 'Mr ' || name)).score
FROM names WHERE id <= 3 ORDER BY id;
RESET ALL;
SELECT count(*) AS sounds_like_smith,
       sum(marrowfield_score(name, 'Smith')) AS total_score
FROM names WHERE name %~ 'Smith';
