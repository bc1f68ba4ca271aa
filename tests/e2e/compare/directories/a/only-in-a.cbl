only a
