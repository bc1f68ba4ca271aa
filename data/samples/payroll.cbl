000100 IDENTIFICATION DIVISION.                                         PAYROLL 
000200 PROGRAM-ID. PAYROLL.                                             PAYROLL 
000300* Computes the gross pay of each employee from hours and rate.    PAYROLL 
000400 ENVIRONMENT DIVISION.                                            PAYROLL 
000500 INPUT-OUTPUT SECTION.                                            PAYROLL 
000600 FILE-CONTROL.                                                    PAYROLL 
000700     SELECT EMP-FILE ASSIGN TO EMPIN.                             PAYROLL 
000800 DATA DIVISION.                                                   PAYROLL 
000900 FILE SECTION.                                                    PAYROLL 
001000 FD  EMP-FILE.                                                    PAYROLL 
001100 01  EMP-REC.                                                     PAYROLL 
001200     05  EMP-NAME        PIC X(20).                               PAYROLL 
001300     05  EMP-HOURS       PIC 9(3)V9.                              PAYROLL 
001400     05  EMP-RATE        PIC 9(3)V99.                             PAYROLL 
001500 WORKING-STORAGE SECTION.                                         PAYROLL 
001600 01  WS-GROSS            PIC 9(6)V99.                             PAYROLL 
001700 01  WS-EOF              PIC X VALUE 'N'.                         PAYROLL 
001800 PROCEDURE DIVISION.                                              PAYROLL 
001900 MAIN-PARA.                                                       PAYROLL 
002000     OPEN INPUT EMP-FILE                                          PAYROLL 
002100     PERFORM UNTIL WS-EOF = 'Y'                                   PAYROLL 
002200         READ EMP-FILE                                            PAYROLL 
002300             AT END MOVE 'Y' TO WS-EOF                            PAYROLL 
002400             NOT AT END PERFORM CALC-PARA                         PAYROLL 
002500         END-READ                                                 PAYROLL 
002600     END-PERFORM                                                  PAYROLL 
002700     CLOSE EMP-FILE                                               PAYROLL 
002800     STOP RUN.                                                    PAYROLL 
002900 CALC-PARA.                                                       PAYROLL 
003000     COMPUTE WS-GROSS = EMP-HOURS * EMP-RATE                      PAYROLL 
003100     DISPLAY EMP-NAME ' ' WS-GROSS.                               PAYROLL 
