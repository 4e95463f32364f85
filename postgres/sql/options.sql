-- The whole score in SQL: strict or tolerant, whole cells or word by word,
-- folded or not; the settings that make %~ score the same way; folding.
-- Runs after index.sql, in the database it left the extension in.

-- index.sql's text of 120 000 letters has had its test; scored in every
-- mode against many rows (here and in the tests after this) it would only
-- take time.
DELETE FROM people WHERE length(name) > 1000;

-- Each option on its own and all of them; the two-argument form is the
-- strict whole-cell score as before.
SELECT a, b, marrowfield_score(a, b) AS two_args,
       marrowfield_score(a, b, 'strict') AS strict,
       marrowfield_score(a, b, 'tolerant') AS tolerant,
       marrowfield_score(a, b, 'strict', whole_cell => false) AS words,
       marrowfield_score(a, b, 'strict', fold => true) AS folded,
       marrowfield_score(a, b, scoring => 'tolerant', whole_cell => false,
                         fold => true) AS all_options
FROM (VALUES ('Thompson', 'Thomson'), ('Smith, John', 'Jon Smyth'),
             ('Mr John Smith', 'Smith J'), ('José', 'Jose'),
             ('Müller', 'Muller'), ('Smith', 'Smyth'),
             ('Catherine', 'Kathryn'), ('Ærø', 'Aero'), ('', 'Smith'),
             ('東京', 'Tokyo')) AS t(a, b);
SELECT marrowfield_score('Smith', 'Smyth', NULL) IS NULL AS null_option,
       marrowfield_score('Smith', 'Smyth', 'TOLERANT') AS any_case;

-- The strict whole-cell options give the two-argument form's score on
-- every pair of the index test's names.
SELECT count(*) AS pairs,
       count(*) FILTER (WHERE marrowfield_score(a.name, b.name)
                        IS DISTINCT FROM
                        marrowfield_score(a.name, b.name, 'strict', true,
                                          false)) AS differences
FROM people a, people b WHERE a.id % 7 = 0 AND b.id % 5 = 0;

-- Unknown scoring: invalid_parameter_value.
\set VERBOSITY sqlstate
SELECT marrowfield_score('Smith', 'Smyth', 'lenient');
\set VERBOSITY default
SELECT marrowfield_score('Smith', 'Smyth', 'lenient');

-- Folding: accents dropped, ligatures and ß spelt out, case kept, what has
-- no ASCII form kept as it is.
SELECT marrowfield_fold('José Müller ß Ærø Œuvre Łódź 東京') AS folded,
       marrowfield_fold('') AS empty, marrowfield_fold('Smith') AS ascii;

-- %~ scores as the settings say; each is per session and resets.
SHOW marrowfield.scoring;
SHOW marrowfield.whole_cell;
SHOW marrowfield.fold;
SELECT 'Thompson' %~ 'Thomson' AS strict_thomson;
SET marrowfield.scoring = tolerant;
SELECT 'Thompson' %~ 'Thomson' AS tolerant_thomson;
SET marrowfield.whole_cell = off;
SELECT 'Smith, John' %~ 'Jon Smyth' AS words_full_names;
RESET marrowfield.whole_cell;
SELECT 'Smith, John' %~ 'Jon Smyth' AS whole_full_names;
SET marrowfield.fold = on;
SELECT 'José' %~ 'Jose' AS folded_jose;
RESET marrowfield.fold;
SELECT 'José' %~ 'Jose' AS unfolded_jose;
SET marrowfield.scoring = lenient;
RESET marrowfield.scoring;
-- %~ agrees with the score of the same options, in every mode.
CREATE FUNCTION mode_differences(scoring text, whole_cell boolean,
                                 fold boolean)
RETURNS bigint LANGUAGE plpgsql AS $$
BEGIN
  PERFORM set_config('marrowfield.scoring', scoring, true);
  PERFORM set_config('marrowfield.whole_cell', whole_cell::text, true);
  PERFORM set_config('marrowfield.fold', fold::text, true);
  RETURN (SELECT count(*) FROM people a, people b
          WHERE a.id % 11 = 0 AND b.id % 13 = 0
            AND a.name IS NOT NULL AND b.name IS NOT NULL
            AND (a.name %~ b.name) IS DISTINCT FROM
                coalesce(marrowfield_score(a.name, b.name, scoring,
                                           whole_cell, fold) >= 60, false));
END $$;
SELECT s AS scoring, w AS whole_cell, f AS fold,
       mode_differences(s, w, f) AS differences
FROM (VALUES ('strict'), ('tolerant')) AS sc(s),
     (VALUES (true), (false)) AS wc(w), (VALUES (true), (false)) AS fc(f)
ORDER BY s, w, f;

-- A database in another encoding: text is converted to UTF-8 to be
-- folded, and the folded text comes back in the database's encoding.
\set regression_database :DBNAME
CREATE DATABASE marrowfield_latin1 TEMPLATE template0 ENCODING 'LATIN1'
  LC_COLLATE 'C' LC_CTYPE 'C';
\c marrowfield_latin1
SET client_encoding = 'UTF8';
SHOW server_encoding;
CREATE EXTENSION marrowfield;
SELECT marrowfield_fold('José Müller ß Æsir') AS folded,
       marrowfield_score('José', 'Jose', 'strict', fold => true) AS folded_score,
       marrowfield_score('José', 'Jose') AS bytes_score;
SELECT value, canonical
FROM marrowfield_dedupe(ARRAY['Müller', 'Muller', 'José', 'Jose'], fold => true)
ORDER BY value;
\c :regression_database
DROP DATABASE marrowfield_latin1;
