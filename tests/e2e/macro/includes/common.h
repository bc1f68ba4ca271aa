// shared declarations
const int limit = 42;
