abcdef
