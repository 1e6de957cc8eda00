// For the direct solution one balance equation of A is exchanged for the
// normalisation sum x = 1; the kept row is put back afterwards.
#pragma once

struct KeptRow {
    int row = 0;
    int length = 0;
    double* values = nullptr;
    int* columns = nullptr;
};

// Replaces row k of lgs::a/ia/ja by n ones; false when memory ran out, with
// the matrix unchanged.
bool insert_normalisation_row(int k, KeptRow& kept);
// Puts the kept row back in place of the ones and releases the copy.
void restore_row(KeptRow& kept);
