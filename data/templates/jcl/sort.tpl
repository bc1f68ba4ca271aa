//*--------------------------------------------------------------
//* SORT A DATA SET
//*--------------------------------------------------------------
//%cursor%SORTSTEP EXEC PGM=SORT
//SYSOUT   DD SYSOUT=*
//SORTIN   DD DSN=HLQ.INPUT.DATASET,DISP=SHR
//SORTOUT  DD DSN=HLQ.OUTPUT.DATASET,
//            DISP=(NEW,CATLG,DELETE),
//            SPACE=(CYL,(1,1)),UNIT=SYSDA,
//            DCB=(RECFM=FB,LRECL=80,BLKSIZE=0)
//SYSIN    DD *
  SORT FIELDS=(1,10,CH,A)
/*
