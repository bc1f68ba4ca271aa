//PAYROLL  JOB (ACCT01),'WEEKLY PAYROLL',CLASS=A,MSGCLASS=X,            00000100
//             NOTIFY=&SYSUID,REGION=0M                                 00000200
//*                                                                     00000300
//* WEEKLY PAYROLL: SORT THE TIME CARDS, THEN RUN THE PAYROLL PROGRAM.  00000400
//*                                                                     00000500
//SORTIN   EXEC PGM=SORT                                                00000600
//SYSOUT   DD SYSOUT=*                                                  00000700
//SORTIN   DD DSN=PAY.TIMECARD.DATA,DISP=SHR                            00000800
//SORTOUT  DD DSN=&&SORTED,DISP=(NEW,PASS),                             00000900
//            UNIT=SYSDA,SPACE=(CYL,(5,5),RLSE)                         00001000
//SYSIN    DD *                                                         00001100
  SORT FIELDS=(1,4,CH,A,5,6,ZD,A)                                       00001200
/*                                                                      00001300
//PAYRUN   EXEC PGM=PAYROLL,COND=(4,LT)                                 00001400
//STEPLIB  DD DSN=PAY.LOADLIB,DISP=SHR                                  00001500
//EMPIN    DD DSN=&&SORTED,DISP=(OLD,DELETE)                            00001600
//PAYOUT   DD DSN=PAY.WEEKLY.REPORT,DISP=(NEW,CATLG,DELETE),            00001700
//            UNIT=SYSDA,SPACE=(TRK,(10,5),RLSE),                       00001800
//            DCB=(RECFM=FB,LRECL=133,BLKSIZE=0)                        00001900
//SYSPRINT DD SYSOUT=*                                                  00002000
