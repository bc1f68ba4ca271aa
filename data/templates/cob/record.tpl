01  %cursor%RECORD-NAME.
    05  REC-KEY                PIC X(10).
    05  REC-NAME               PIC X(30).
    05  REC-AMOUNT             PIC S9(7)V99 COMP-3.
    05  REC-DATE.
        10  REC-YYYY           PIC 9(4).
        10  REC-MM             PIC 9(2).
        10  REC-DD             PIC 9(2).
    05  FILLER                 PIC X(20).
