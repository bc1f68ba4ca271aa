000100* STATEVAL: the values of the state table, one entry per state.   STATEVAL
000200* SEARCH ALL needs the entries in ascending order of the code.    STATEVAL
000300     05  FILLER              PIC X(16) VALUE 'TXTEXAS'.           STATEVAL
000400     05  FILLER              PIC X(16) VALUE 'CACALIFORNIA'.      STATEVAL
000500     05  FILLER              PIC X(16) VALUE 'NYNEW YORK'.        STATEVAL
000600     05  FILLER              PIC X(16) VALUE 'AKALASKA'.          STATEVAL
000700     05  FILLER              PIC X(16) VALUE 'WAWASHINGTON'.      STATEVAL
000800     05  FILLER              PIC X(16) VALUE 'COCOLORADO'.        STATEVAL
000900     05  FILLER              PIC X(16) VALUE 'AZARIZONA'.         STATEVAL
001000     05  FILLER              PIC X(16) VALUE 'CTCONNECTICUT'.     STATEVAL
