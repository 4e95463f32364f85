/* marrowfield--1.1--1.2.sql */

-- complain if script is sourced in psql, rather than via ALTER EXTENSION
\echo Use "ALTER EXTENSION marrowfield UPDATE TO '1.2'" to load this file. \quit

-- A third operator class, which keeps each row under its skeleton and its
-- blocking keys with its own text, so that a whole-cell query (strict, or
-- tolerant from the keys' accuracy) scores each distinct text under its
-- keys once, inside the index, and reads only the rows that match (the
-- other classes read and rescore every row sharing a key). Its index holds
-- the column's distinct texts, a few times over; word-by-word and folded
-- queries read it whole, as marrowfield_gin_ops:
--   CREATE INDEX ON people USING gin (name marrowfield_text_gin_ops);
-- The support functions cost what the keys do; a partial match's
-- comparison scores one text.
CREATE FUNCTION gin_compare_marrowfield_texts(text, text)
RETURNS int4
AS 'MODULE_PATHNAME'
LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

CREATE FUNCTION gin_extract_value_marrowfield_texts(text, internal)
RETURNS internal
AS 'MODULE_PATHNAME'
LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE COST 35;

CREATE FUNCTION gin_extract_query_marrowfield_texts(text, internal, int2,
                                                    internal, internal,
                                                    internal, internal)
RETURNS internal
AS 'MODULE_PATHNAME'
LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE COST 30;

CREATE FUNCTION gin_compare_partial_marrowfield_texts(text, text, int2,
                                                      internal)
RETURNS int4
AS 'MODULE_PATHNAME'
LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE COST 20;

CREATE FUNCTION gin_marrowfield_texts_consistent(internal, int2, text, int4,
                                                 internal, internal,
                                                 internal, internal)
RETURNS bool
AS 'MODULE_PATHNAME'
LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

CREATE FUNCTION gin_marrowfield_texts_triconsistent(internal, int2, text,
                                                    int4, internal,
                                                    internal, internal)
RETURNS "char"
AS 'MODULE_PATHNAME'
LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

CREATE OPERATOR CLASS marrowfield_text_gin_ops
FOR TYPE text USING gin
AS
    OPERATOR 1 %~ (text, text),
    FUNCTION 1 gin_compare_marrowfield_texts (text, text),
    FUNCTION 2 gin_extract_value_marrowfield_texts (text, internal),
    FUNCTION 3 gin_extract_query_marrowfield_texts (text, internal, int2,
                                                    internal, internal,
                                                    internal, internal),
    FUNCTION 4 gin_marrowfield_texts_consistent (internal, int2, text, int4,
                                                 internal, internal,
                                                 internal, internal),
    FUNCTION 5 gin_compare_partial_marrowfield_texts (text, text, int2,
                                                      internal),
    FUNCTION 6 gin_marrowfield_texts_triconsistent (internal, int2, text,
                                                    int4, internal,
                                                    internal, internal),
    STORAGE text;
