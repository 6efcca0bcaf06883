// The shared library is made of the whole static core; this unit is empty.
