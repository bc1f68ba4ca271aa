000100 MOVE A TO B.                                                     SEQ00001
000200 STOP RUN.
