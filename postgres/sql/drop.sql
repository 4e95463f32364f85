-- The extension goes as a whole, with the indexes that use it, and comes
-- back.
DROP EXTENSION marrowfield CASCADE;
SELECT marrowfield_score('Smith', 'Smyth');
SELECT count(*) FROM pg_proc WHERE proname LIKE 'marrowfield%';
CREATE EXTENSION marrowfield;
SELECT marrowfield_score('Smith', 'Smyth');
DROP EXTENSION marrowfield;
