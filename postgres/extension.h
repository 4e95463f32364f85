/*
 * What the extension's C files share: its settings and the helpers that
 * turn the bridge's answers into PostgreSQL values and errors.
 */
#ifndef MARROWFIELD_POSTGRES_EXTENSION_H
#define MARROWFIELD_POSTGRES_EXTENSION_H

#include "postgres.h"

#include "engine_bridge.h"

/* marrowfield.accuracy: the least score, in percent, at which %~ holds. */
extern int	marrowfield_accuracy;

/* Sets up the engine in this backend on first use; ERROR if it fails. */
extern void marrowfield_start(void);

/* ERROR with the bridge's message unless |status| is MF_OK or
 * MF_NO_LETTERS; returns |status| otherwise. */
extern MfStatus marrowfield_check(MfStatus status);

/* The bridge's result list as a new text[] in the current memory context. */
extern ArrayType *marrowfield_list_to_array(void);

#endif							/* MARROWFIELD_POSTGRES_EXTENSION_H */
