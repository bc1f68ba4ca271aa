       IDENTIFICATION DIVISION.
       PROGRAM-ID. PAYROLL.

       PROCEDURE DIVISION.                                              OLDNUM01
           STOP RUN.
