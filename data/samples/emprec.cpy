000100* EMPREC: the employee master record, shared by PAYROLL and               
000200* the monthly reports. Keep in step with the EMPMAST layout.              
000300 01  EMP-MASTER-REC.                                                      
000400     05  EMP-KEY.                                                         
000500         10  EMP-DEPT            PIC X(4).                                
000600         10  EMP-NUMBER          PIC 9(6).                                
000700     05  EMP-NAME.                                                        
000800         10  EMP-LAST-NAME       PIC X(20).                               
000900         10  EMP-FIRST-NAME      PIC X(15).                               
001000     05  EMP-STATUS              PIC X.                                   
001100         88  EMP-ACTIVE          VALUE 'A'.                               
001200         88  EMP-ON-LEAVE        VALUE 'L'.                               
001300         88  EMP-TERMINATED      VALUE 'T'.                               
001400     05  EMP-HIRE-DATE.                                                   
001500         10  EMP-HIRE-YYYY       PIC 9(4).                                
001600         10  EMP-HIRE-MM         PIC 99.                                  
001700         10  EMP-HIRE-DD         PIC 99.                                  
001800     05  EMP-PAY-RATE            PIC S9(5)V99 COMP-3.                     
001900     05  EMP-YTD-GROSS           PIC S9(7)V99 COMP-3 VALUE ZERO.          
002000     05  FILLER                  PIC X(10) VALUE SPACES.                  
