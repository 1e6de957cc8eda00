// The handling of one queue entry in each generation mode. The mode's name
// says which transition classes the net has (exclusive, infinite-server,
// immediate); the D modes also have deterministic or general transitions and
// end their firings in intermediate markings.
#pragma once

void Exc_RRG();
void Inf_RRG();
void ExcInf_RRG();
void ExcImm_RRG();
void InfImm_RRG();
void ExcInfImm_RRG();
void D_Exc_RRG();
void D_ExcInf_RRG();
void D_ExcImm_RRG();
void D_ExcInfImm_RRG();
