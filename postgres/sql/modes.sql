-- The GIN indexes in every mode %~ scores in: the same rows as a full
-- scan, whatever marrowfield.scoring, marrowfield.whole_cell,
-- marrowfield.fold and marrowfield.accuracy say, for both operator
-- classes. Runs after index.sql, on its table and index
-- (marrowfield_gin_ops), with names that only the options relate added.
INSERT INTO people (name)
VALUES ('José'), ('Jose'), ('Müller'), ('Muller'), ('Mueller'), ('Łukasz'),
       ('Lukasz'), ('Smith, John'), ('Jon Smyth'), ('John Smith'),
       ('Dr J. Smith'), ('Thompson'), ('Thomson'), ('Tomson'),
       ('Christiana'), ('Christianson'), ('Ærø');

-- The ids of the rows that sound like |query| in a mode, read through the
-- index or by a sequential scan.
CREATE FUNCTION mode_rows(query text, accuracy int, scoring text,
                          whole_cell boolean, fold boolean,
                          use_index boolean)
RETURNS SETOF int LANGUAGE plpgsql AS $$
BEGIN
  PERFORM set_config('marrowfield.accuracy', accuracy::text, true);
  PERFORM set_config('marrowfield.scoring', scoring, true);
  PERFORM set_config('marrowfield.whole_cell', whole_cell::text, true);
  PERFORM set_config('marrowfield.fold', fold::text, true);
  PERFORM set_config('enable_seqscan', (NOT use_index)::text, true);
  PERFORM set_config('enable_bitmapscan', use_index::text, true);
  RETURN QUERY EXECUTE 'SELECT id FROM people WHERE name %~ $1' USING query;
END $$;

-- Summed over the queries, per mode and accuracy: the rows a scan returns,
-- and those the index misses or adds (both must be 0).
SELECT s AS scoring, w AS whole_cell, f AS fold, a AS accuracy,
       sum((SELECT count(*) FROM mode_rows(q, a, s, w, f, false))) AS rows,
       sum((SELECT count(*) FROM (SELECT * FROM mode_rows(q, a, s, w, f, false)
                                  EXCEPT
                                  SELECT * FROM mode_rows(q, a, s, w, f, true)) d))
         AS missed_by_index,
       sum((SELECT count(*) FROM (SELECT * FROM mode_rows(q, a, s, w, f, true)
                                  EXCEPT
                                  SELECT * FROM mode_rows(q, a, s, w, f, false)) d))
         AS extra_in_index
FROM (VALUES ('strict'), ('tolerant')) AS sc(s),
     (VALUES (true), (false)) AS wc(w), (VALUES (true), (false)) AS fc(f),
     unnest(ARRAY[0, 1, 40, 60, 75, 90]) AS a,
     (SELECT name FROM people WHERE id IN (1, 50, 100, 200, 300, 400)
      UNION ALL VALUES ('Smith'), ('Jose'), ('Müller'), ('Lukasz'),
                       ('Thomson'), ('John Smyth'), ('Christiana'), (''),
                       ('???')) AS qs(q)
GROUP BY s, w, f, a ORDER BY s, w DESC, f, a;

-- The same through an index of marrowfield_all_gin_ops, which has the keys
-- of every mode.
DROP INDEX people_name;
CREATE INDEX people_name_all ON people USING gin (name marrowfield_all_gin_ops);
SELECT s AS scoring, w AS whole_cell, f AS fold, a AS accuracy,
       sum((SELECT count(*) FROM mode_rows(q, a, s, w, f, false))) AS rows,
       sum((SELECT count(*) FROM (SELECT * FROM mode_rows(q, a, s, w, f, false)
                                  EXCEPT
                                  SELECT * FROM mode_rows(q, a, s, w, f, true)) d))
         AS missed_by_index,
       sum((SELECT count(*) FROM (SELECT * FROM mode_rows(q, a, s, w, f, true)
                                  EXCEPT
                                  SELECT * FROM mode_rows(q, a, s, w, f, false)) d))
         AS extra_in_index
FROM (VALUES ('strict'), ('tolerant')) AS sc(s),
     (VALUES (true), (false)) AS wc(w), (VALUES (true), (false)) AS fc(f),
     unnest(ARRAY[0, 1, 40, 60, 75, 90]) AS a,
     (SELECT name FROM people WHERE id IN (1, 50, 100, 200, 300, 400)
      UNION ALL VALUES ('Smith'), ('Jose'), ('Müller'), ('Lukasz'),
                       ('Thomson'), ('John Smyth'), ('Christiana'), (''),
                       ('???')) AS qs(q)
GROUP BY s, w, f, a ORDER BY s, w DESC, f, a;

-- A self-join through the index in tolerant mode finds exactly the pairs
-- a join scoring every pair finds.
CREATE FUNCTION tolerant_pairs(accuracy int, use_index boolean)
RETURNS TABLE (a int, b int) LANGUAGE plpgsql AS $$
BEGIN
  PERFORM set_config('marrowfield.accuracy', accuracy::text, true);
  PERFORM set_config('marrowfield.scoring', 'tolerant', true);
  PERFORM set_config('enable_seqscan', (NOT use_index)::text, true);
  PERFORM set_config('enable_bitmapscan', use_index::text, true);
  PERFORM set_config('enable_hashjoin', 'off', true);
  PERFORM set_config('enable_mergejoin', 'off', true);
  RETURN QUERY SELECT x.id, y.id FROM people x JOIN people y
    ON y.name %~ x.name WHERE x.id < y.id;
END $$;
SELECT acc AS accuracy,
       (SELECT count(*) FROM tolerant_pairs(acc, false)) AS pairs,
       (SELECT count(*) FROM (SELECT * FROM tolerant_pairs(acc, false)
                              EXCEPT SELECT * FROM tolerant_pairs(acc, true)) d)
         AS missed,
       (SELECT count(*) FROM (SELECT * FROM tolerant_pairs(acc, true)
                              EXCEPT SELECT * FROM tolerant_pairs(acc, false)) d)
         AS extra
FROM unnest(ARRAY[60, 80]) AS acc;
DROP INDEX people_name_all;
CREATE INDEX people_name ON people USING gin (name marrowfield_gin_ops);
