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
