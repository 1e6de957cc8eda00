// Net-wide counts fixed after the class check; they size the per-marking
// arrays (ata: one entry per exclusive transition) and the enabling sets.
#pragma once

extern unsigned short no_of_places;
extern unsigned short no_of_exc_transitions;
extern unsigned short no_of_imm_transitions;
extern unsigned short no_of_inf_transitions;

// Counted while the description is read: all transitions (their numbers run
// from 1 to no_of_trans) and the transitions by the kind of their delays.
extern unsigned short no_of_trans;
extern unsigned short no_of_exp_transitions;
extern unsigned short no_of_det_transitions;
extern unsigned short no_of_gen_transitions;
extern unsigned short no_of_mix_transitions;
