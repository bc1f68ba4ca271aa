//*--------------------------------------------------------------
//* ALLOCATE (OR DELETE) A DATA SET WITHOUT RUNNING A PROGRAM
//*--------------------------------------------------------------
//%cursor%ALLOC    EXEC PGM=IEFBR14
//NEWDS    DD DSN=HLQ.NEW.DATASET,
//            DISP=(NEW,CATLG,DELETE),
//            SPACE=(TRK,(5,5)),UNIT=SYSDA,
//            DCB=(RECFM=FB,LRECL=80,BLKSIZE=0)
