-- Pair finding in the backend: marrowfield_dedupe and marrowfield_link.
-- Runs after modes.sql, on the index test's names.

-- Groups of a small list: the most frequent spelling is the canonical one;
-- NULLs are skipped, values in no group give no row.
SELECT * FROM marrowfield_dedupe(ARRAY['Smith', 'Smyth', 'Smith', 'Smithe',
                                       'Jones', 'Johns', NULL, 'Catherine',
                                       'Kathryn', 'Zbigniew'])
ORDER BY group_id, score DESC, value;
SELECT count(*) AS no_rows FROM marrowfield_dedupe(ARRAY[]::text[]);
SELECT count(*) AS no_rows FROM marrowfield_dedupe(ARRAY['Smith', NULL, '']);
-- The options: tolerant scoring, word by word, folding.
SELECT value, canonical, score
FROM marrowfield_dedupe(ARRAY['Thompson', 'Thomson', 'Smith, John',
                              'Jon Smyth', 'José', 'Jose'],
                        scoring => 'tolerant', whole_cell => false,
                        fold => true)
ORDER BY group_id, value;
SELECT value, canonical, score
FROM marrowfield_dedupe(ARRAY['Thompson', 'Thomson', 'José', 'Jose'], 90)
ORDER BY group_id, value;

-- The usual query: the names of a table with the suggested spelling,
-- joined back by value.
SELECT p.name, d.canonical, d.score, d.via
FROM people p
JOIN marrowfield_dedupe(ARRAY(SELECT name FROM people)) d ON d.value = p.name
WHERE p.name IN ('Smith', 'Smyth', 'Smythe', 'Zmith')
ORDER BY p.name;

-- Complete: every pair of distinct names whose score reaches the accuracy
-- (the first in byte order scored against the second, as pair finding
-- orders them) is in one group; and every member joined its group through
-- a value it scores at least the accuracy with. (Strict word by word one
-- pair, listed below, ends in two groups by the grouping rule, not by a
-- miss of pair finding: a value with an initial joins only the group of its
-- best partner, so that "Dr J. Smith" does not chain every Smith with a J
-- into one group; it scores 100 with "Smith Jones" too, and deduped as a
-- list of those two alone they are one group.)
CREATE TABLE distinct_names AS
SELECT DISTINCT name FROM people WHERE name IS NOT NULL AND (grp <= 40 OR grp IS NULL);
CREATE FUNCTION dedupe_check(accuracy int, scoring text, whole_cell boolean)
RETURNS TABLE (pairs bigint, missed bigint, weak_links bigint)
LANGUAGE sql AS $$
  WITH groups AS (
    SELECT * FROM marrowfield_dedupe(ARRAY(SELECT name FROM distinct_names),
                                     accuracy, scoring, whole_cell)),
  all_pairs AS (
    SELECT a.name AS a, b.name AS b
    FROM distinct_names a, distinct_names b
    WHERE a.name COLLATE "C" < b.name COLLATE "C"
      AND marrowfield_score(a.name, b.name, scoring, whole_cell) >= accuracy)
  SELECT (SELECT count(*) FROM all_pairs),
         (SELECT count(*) FROM all_pairs p
          WHERE NOT EXISTS (SELECT 1 FROM groups x JOIN groups y
                            USING (group_id)
                            WHERE x.value = p.a AND y.value = p.b)),
         (SELECT count(*) FROM groups g
          WHERE g.value <> g.via
            AND greatest(marrowfield_score(g.value, g.via, scoring, whole_cell),
                         marrowfield_score(g.via, g.value, scoring, whole_cell))
                < accuracy)
$$;
SELECT s AS scoring, w AS whole_cell, acc AS accuracy, c.*
FROM (VALUES ('strict'), ('tolerant')) AS sc(s),
     (VALUES (true), (false)) AS wc(w),
     unnest(ARRAY[60, 70, 80, 90]) AS acc,
     LATERAL dedupe_check(acc, s, w) AS c
ORDER BY s, w DESC, acc;

SELECT a.name AS first, b.name AS second
FROM distinct_names a, distinct_names b,
     LATERAL (SELECT array_agg(group_id) AS groups
              FROM marrowfield_dedupe(ARRAY(SELECT name FROM distinct_names),
                                      60, 'strict', false)
              WHERE value IN (a.name, b.name)) g
WHERE a.name COLLATE "C" < b.name COLLATE "C"
  AND marrowfield_score(a.name, b.name, 'strict', false) >= 60
  AND (cardinality(g.groups) IS DISTINCT FROM 2
       OR g.groups[1] <> g.groups[2]);

-- Links: each value of a with the values of b that sound like it, best
-- first; with best_only, only the best.
SELECT * FROM marrowfield_link(ARRAY['Smith', 'Jones', 'Brown', NULL],
                               ARRAY['Smyth', 'Johns', 'Smithe', 'Smith'])
ORDER BY a_value, score DESC, b_value;
SELECT * FROM marrowfield_link(ARRAY['Smith', 'Jones'],
                               ARRAY['Smyth', 'Johns', 'Smithe'],
                               best_only => true)
ORDER BY a_value;
-- Exactly the pairs whose score reaches the accuracy.
SELECT acc AS accuracy,
       (SELECT count(*) FROM distinct_names a, distinct_names b
        WHERE a.name LIKE 'S%' AND marrowfield_score(a.name, b.name) >= acc)
         AS pairs,
       (SELECT count(*) FROM marrowfield_link(
          ARRAY(SELECT name FROM distinct_names WHERE name LIKE 'S%'),
          ARRAY(SELECT name FROM distinct_names), acc, whole_cell => true) l
        WHERE l.score = marrowfield_score(l.a_value, l.b_value)) AS linked
FROM unnest(ARRAY[60, 80]) AS acc;

-- Bad arguments: invalid_parameter_value.
\set VERBOSITY sqlstate
SELECT * FROM marrowfield_dedupe(ARRAY['Smith'], 101);
SELECT * FROM marrowfield_dedupe(ARRAY['Smith'], scoring => 'lenient');
SELECT * FROM marrowfield_link(ARRAY['Smith'], ARRAY['Smyth'], -1);
\set VERBOSITY default
SELECT * FROM marrowfield_dedupe(ARRAY['Smith'], 101);
