// Conversion of the coordinate matrix P - I into row-pointer form of its
// transpose A, in place; entries of one row and column are summed into one.
#pragma once

void mat2rpfm(double** a, int** ia, int** ja);
