/* marrowfield--1.0.sql */

-- complain if script is sourced in psql, rather than via CREATE EXTENSION
\echo Use "CREATE EXTENSION marrowfield" to load this file. \quit

-- The functions below are IMMUTABLE: their answers depend only on their
-- arguments and on the Flite lexicon the library was built with. After an
-- upgrade of Flite's lexicon, REINDEX the indexes that use them.

CREATE FUNCTION marrowfield_score(text, text)
RETURNS int
AS 'MODULE_PATHNAME'
LANGUAGE C STRICT IMMUTABLE PARALLEL SAFE;

COMMENT ON FUNCTION marrowfield_score(text, text) IS
'how alike two texts sound, 0-100 percent; NULL when either has no letter';

CREATE FUNCTION marrowfield_phones(text, rules boolean DEFAULT false)
RETURNS text[]
AS 'MODULE_PATHNAME'
LANGUAGE C STRICT IMMUTABLE PARALLEL SAFE;

COMMENT ON FUNCTION marrowfield_phones(text, boolean) IS
'phones of a text, from the lexicon (or the letter-to-sound rules alone)';

CREATE FUNCTION marrowfield_code(text)
RETURNS text
AS 'MODULE_PATHNAME'
LANGUAGE C STRICT IMMUTABLE PARALLEL SAFE;

COMMENT ON FUNCTION marrowfield_code(text) IS
'consonant code of a word, looked up exactly as given';

CREATE FUNCTION marrowfield_match(phrase text, body text,
                                  OUT score int, OUT start int, OUT length int)
RETURNS record
AS 'MODULE_PATHNAME'
LANGUAGE C STRICT IMMUTABLE PARALLEL SAFE;

COMMENT ON FUNCTION marrowfield_match(text, text) IS
'where a phrase sounds like part of a text: score, 1-based start and length in the normalised text';

-- STABLE, not IMMUTABLE: the answer depends on marrowfield.accuracy.
CREATE FUNCTION marrowfield_sounds_like(text, text)
RETURNS bool
AS 'MODULE_PATHNAME'
LANGUAGE C STRICT STABLE PARALLEL SAFE;

COMMENT ON FUNCTION marrowfield_sounds_like(text, text) IS
'whether two texts score at least marrowfield.accuracy';

-- Not commutative: the score of two phone lists of equal length may
-- differ slightly with their order.
CREATE OPERATOR %~ (
    LEFTARG = text,
    RIGHTARG = text,
    PROCEDURE = marrowfield_sounds_like,
    RESTRICT = matchingsel,
    JOIN = matchingjoinsel
);

-- The index. marrowfield_keys gives the blocking keys of a text, as the
-- pair finding of the command line and Python uses them: two texts whose
-- score reaches 60 share one. The GIN operator class indexes the one of
-- them that every pair with a score above 0 shares (the consonant
-- skeleton) and rechecks every candidate by its score, so a query returns
-- the same rows with or without the index:
--   CREATE INDEX ON people USING gin (name marrowfield_gin_ops);
-- Below an accuracy of 60 the index is read whole and every row is scored.

CREATE FUNCTION marrowfield_keys(text)
RETURNS text[]
AS 'MODULE_PATHNAME'
LANGUAGE C STRICT IMMUTABLE PARALLEL SAFE;

COMMENT ON FUNCTION marrowfield_keys(text) IS
'blocking keys of a text: texts that sound alike share one';

CREATE FUNCTION gin_extract_value_marrowfield(text, internal)
RETURNS internal
AS 'MODULE_PATHNAME'
LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

CREATE FUNCTION gin_extract_query_marrowfield(text, internal, int2, internal,
                                              internal, internal, internal)
RETURNS internal
AS 'MODULE_PATHNAME'
LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

CREATE FUNCTION gin_marrowfield_consistent(internal, int2, text, int4,
                                           internal, internal, internal,
                                           internal)
RETURNS bool
AS 'MODULE_PATHNAME'
LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

CREATE FUNCTION gin_marrowfield_triconsistent(internal, int2, text, int4,
                                              internal, internal, internal)
RETURNS "char"
AS 'MODULE_PATHNAME'
LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

CREATE OPERATOR CLASS marrowfield_gin_ops
FOR TYPE text USING gin
AS
    OPERATOR 1 %~ (text, text),
    FUNCTION 1 btint4cmp (int4, int4),
    FUNCTION 2 gin_extract_value_marrowfield (text, internal),
    FUNCTION 3 gin_extract_query_marrowfield (text, internal, int2, internal,
                                              internal, internal, internal),
    FUNCTION 4 gin_marrowfield_consistent (internal, int2, text, int4,
                                           internal, internal, internal,
                                           internal),
    FUNCTION 6 gin_marrowfield_triconsistent (internal, int2, text, int4,
                                              internal, internal, internal),
    STORAGE int4;
