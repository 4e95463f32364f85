-- Version 1.0 as released, then ALTER EXTENSION UPDATE to the current
-- version (through 1.1): the new functions and operator classes appear,
-- the costs are set, an index built by 1.0 stays exact, the class of 1.1
-- serves tolerant queries by their keys, and the result is what a new
-- installation holds. Runs after lists.sql, on the index test's names.
DROP EXTENSION marrowfield CASCADE;
CREATE EXTENSION marrowfield VERSION '1.0';
SELECT extversion FROM pg_extension WHERE extname = 'marrowfield';
SELECT count(*) AS dedupe_in_1_0 FROM pg_proc WHERE proname = 'marrowfield_dedupe';
CREATE TABLE upgrade_names AS SELECT id, name FROM people;
CREATE INDEX upgrade_names_name ON upgrade_names
  USING gin (name marrowfield_gin_ops);

-- The ids found through the index, and by a scan, in tolerant mode.
CREATE FUNCTION tolerant_rows(query text, use_index boolean)
RETURNS SETOF int LANGUAGE plpgsql AS $$
BEGIN
  PERFORM set_config('marrowfield.scoring', 'tolerant', true);
  PERFORM set_config('enable_seqscan', (NOT use_index)::text, true);
  PERFORM set_config('enable_bitmapscan', use_index::text, true);
  RETURN QUERY EXECUTE 'SELECT id FROM upgrade_names WHERE name %~ $1'
    USING query;
END $$;
CREATE FUNCTION tolerant_differences()
RETURNS TABLE (rows bigint, differences bigint) LANGUAGE sql AS $$
  SELECT sum((SELECT count(*) FROM tolerant_rows(q, false))),
         sum((SELECT count(*) FROM
              ((SELECT * FROM tolerant_rows(q, false)
                EXCEPT SELECT * FROM tolerant_rows(q, true))
               UNION ALL
               (SELECT * FROM tolerant_rows(q, true)
                EXCEPT SELECT * FROM tolerant_rows(q, false))) d))
  FROM (VALUES ('Thomson'), ('Smith'), ('Catherine'), ('Christiana')) AS t(q)
$$;
-- 1.0's index holds the skeleton alone: in tolerant mode it is read whole.
SELECT * FROM tolerant_differences();

ALTER EXTENSION marrowfield UPDATE;
SELECT extversion FROM pg_extension WHERE extname = 'marrowfield';
-- The same index, unchanged, still exact.
SELECT * FROM tolerant_differences();
-- An index of the new class, which has the tolerant keys.
DROP INDEX upgrade_names_name;
CREATE INDEX upgrade_names_all ON upgrade_names
  USING gin (name marrowfield_all_gin_ops);
SELECT * FROM tolerant_differences();

-- Every function has a cost; the new ones are there.
SELECT p.oid::regprocedure AS function, p.procost AS cost
FROM pg_proc p JOIN pg_depend d ON d.classid = 'pg_proc'::regclass
  AND d.objid = p.oid AND d.deptype = 'e'
JOIN pg_extension e ON e.oid = d.refobjid AND e.extname = 'marrowfield'
ORDER BY 1::text;

-- The updated extension holds what a new installation holds.
CREATE TABLE updated_objects AS
SELECT pg_describe_object(classid, objid, objsubid) AS object
FROM pg_depend d JOIN pg_extension e ON e.oid = d.refobjid
WHERE d.deptype = 'e' AND e.extname = 'marrowfield';
DROP EXTENSION marrowfield CASCADE;
CREATE EXTENSION marrowfield;
SELECT extversion FROM pg_extension WHERE extname = 'marrowfield';
SELECT count(*) AS objects,
       count(*) FILTER (WHERE object NOT IN (SELECT object FROM updated_objects))
         AS not_in_updated,
       (SELECT count(*) FROM updated_objects) AS updated
FROM (SELECT pg_describe_object(classid, objid, objsubid) AS object
      FROM pg_depend d JOIN pg_extension e ON e.oid = d.refobjid
      WHERE d.deptype = 'e' AND e.extname = 'marrowfield') fresh;

-- The operator classes pass the access method's own check, as pg_trgm's
-- suite checks its classes.
SELECT opcname, amvalidate(opc.oid)
FROM pg_opclass opc JOIN pg_am am ON am.oid = opcmethod
WHERE amname = 'gin' AND opcname LIKE 'marrowfield%'
ORDER BY opcname;

-- drop.sql drops the extension with the index that uses it.
CREATE INDEX people_name ON people USING gin (name marrowfield_gin_ops);
