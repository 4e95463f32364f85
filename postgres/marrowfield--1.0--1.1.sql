/* marrowfield--1.0--1.1.sql */

-- complain if script is sourced in psql, rather than via ALTER EXTENSION
\echo Use "ALTER EXTENSION marrowfield UPDATE TO '1.1'" to load this file. \quit

-- Costs, in units of cpu_operator_cost, from one measurement over 200 000
-- rows of pairs of names (bench/postgres_bench.sh costs): the time of a
-- call less that of the scan, against length(text), whose cost is 1
-- (58 ns). fuzzystrmatch's levenshtein measured 4 there; the score is
-- about five times that. %~ costs what the score does. The index's
-- support functions are costed by what they call: the skeleton alone
-- about what the code costs, every mode's keys about the keys' cost and
-- again as much for folded text.
ALTER FUNCTION marrowfield_score(text, text) COST 20;
ALTER FUNCTION marrowfield_sounds_like(text, text) COST 20;
ALTER FUNCTION marrowfield_phones(text, boolean) COST 14;
ALTER FUNCTION marrowfield_code(text) COST 7;
ALTER FUNCTION marrowfield_match(text, text) COST 75;
ALTER FUNCTION marrowfield_keys(text) COST 27;

-- The whole score: strict or tolerant (which passes over one extra phone at
-- a cost), each text one word or word by word ("Smith, John" against "Jon
-- Smyth": words in any order, titles dropped, initials matching words),
-- folded to ASCII first or not. scoring has no default, so that the
-- two-argument form above stays the one a call of two arguments means.
CREATE FUNCTION marrowfield_score(a text, b text, scoring text,
                                  whole_cell boolean DEFAULT true,
                                  fold boolean DEFAULT false)
RETURNS int
AS 'MODULE_PATHNAME', 'marrowfield_score_options'
LANGUAGE C STRICT IMMUTABLE PARALLEL SAFE COST 30;

COMMENT ON FUNCTION marrowfield_score(text, text, text, boolean, boolean) IS
'how alike two texts sound, 0-100 percent, scored as the options say; NULL when either has no letter';

CREATE FUNCTION marrowfield_fold(text)
RETURNS text
AS 'MODULE_PATHNAME', 'marrowfield_fold_text'
LANGUAGE C STRICT IMMUTABLE PARALLEL SAFE COST 4;

COMMENT ON FUNCTION marrowfield_fold(text) IS
'a text folded to ASCII as the scores fold it (José is Jose, ß is ss)';

-- The list functions cost what their lists do, far more than any function
-- of one row: a large cost keeps the planner from calling them more often
-- than the query says.

-- Pair finding over a whole list, in the backend: the groups of values
-- that sound alike, with the suggested spelling of each. A row for every
-- distinct value in a group; values in no group give none.
CREATE FUNCTION marrowfield_dedupe("values" text[], accuracy int DEFAULT 60,
                                   scoring text DEFAULT 'strict',
                                   whole_cell boolean DEFAULT false,
                                   fold boolean DEFAULT false,
                                   OUT value text, OUT canonical text,
                                   OUT score int, OUT via text,
                                   OUT group_id int)
RETURNS SETOF record
AS 'MODULE_PATHNAME'
LANGUAGE C STRICT IMMUTABLE PARALLEL SAFE COST 100000 ROWS 1000;

COMMENT ON FUNCTION marrowfield_dedupe(text[], int, text, boolean, boolean) IS
'groups of the values that sound alike: each value, its group''s suggested spelling, its score to it, the value it joined through, the group';

-- Each value of a with the values of b that sound like it, best first.
CREATE FUNCTION marrowfield_link(a text[], b text[], accuracy int DEFAULT 60,
                                 scoring text DEFAULT 'strict',
                                 whole_cell boolean DEFAULT false,
                                 fold boolean DEFAULT false,
                                 best_only boolean DEFAULT false,
                                 OUT a_value text, OUT b_value text,
                                 OUT score int)
RETURNS SETOF record
AS 'MODULE_PATHNAME'
LANGUAGE C STRICT IMMUTABLE PARALLEL SAFE COST 100000 ROWS 1000;

COMMENT ON FUNCTION marrowfield_link(text[], text[], int, text, boolean, boolean, boolean) IS
'the values of b that sound like each value of a, best first';

-- A second operator class, with the keys of every mode %~ scores in (see
-- the settings marrowfield.scoring, marrowfield.whole_cell and
-- marrowfield.fold): its index is larger, and serves tolerant and folded
-- queries by their keys where marrowfield_gin_ops reads itself whole.
-- marrowfield_gin_ops is unchanged, so its indexes need no rebuilding:
--   CREATE INDEX ON people USING gin (name marrowfield_all_gin_ops);
CREATE FUNCTION gin_extract_value_marrowfield_all(text, internal)
RETURNS internal
AS 'MODULE_PATHNAME'
LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE COST 60;

CREATE FUNCTION gin_extract_query_marrowfield_all(text, internal, int2,
                                                  internal, internal,
                                                  internal, internal)
RETURNS internal
AS 'MODULE_PATHNAME'
LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE COST 30;

ALTER FUNCTION gin_extract_value_marrowfield(text, internal) COST 8;
ALTER FUNCTION gin_extract_query_marrowfield(text, internal, int2, internal,
                                             internal, internal, internal)
  COST 8;

CREATE OPERATOR CLASS marrowfield_all_gin_ops
FOR TYPE text USING gin
AS
    OPERATOR 1 %~ (text, text),
    FUNCTION 1 btint4cmp (int4, int4),
    FUNCTION 2 gin_extract_value_marrowfield_all (text, internal),
    FUNCTION 3 gin_extract_query_marrowfield_all (text, internal, int2,
                                                  internal, internal,
                                                  internal, internal),
    FUNCTION 4 gin_marrowfield_consistent (internal, int2, text, int4,
                                           internal, internal, internal,
                                           internal),
    FUNCTION 6 gin_marrowfield_triconsistent (internal, int2, text, int4,
                                              internal, internal, internal),
    STORAGE int4;
