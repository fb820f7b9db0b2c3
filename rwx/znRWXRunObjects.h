// The objects a batch run writes, in grid order, without a list of them:
// the columns and rows of the grid whose centres lie inside the run's
// region (all of them without one), and of those, a part's range. A run of
// millions of objects then costs a few numbers, not an index per object.
#pragma once

struct TznRWXRunObjects {
  int GridColumns = 0;               // objects per row of the whole grid
  int FirstColumn = 0, Columns = 0;  // the columns inside the region
  int FirstRow = 0;
  int Begin = 0, End = 0;  // the part's range of the region's objects

  int Count() const { return End - Begin; }
  // The grid index of the k-th object of the run (0 <= k < Count()).
  int IndexAt(int k) const {
    const int n = Begin + k;
    return (FirstRow + n / Columns) * GridColumns + FirstColumn + n % Columns;
  }
};
