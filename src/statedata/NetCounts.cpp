// Net-wide counts; zero until the class check has numbered the net.
#include "statedata/NetCounts.h"

unsigned short no_of_places = 0;
unsigned short no_of_exc_transitions = 0;
unsigned short no_of_imm_transitions = 0;
unsigned short no_of_inf_transitions = 0;
unsigned short no_of_trans = 0;
unsigned short no_of_exp_transitions = 0;
unsigned short no_of_det_transitions = 0;
unsigned short no_of_gen_transitions = 0;
unsigned short no_of_mix_transitions = 0;
