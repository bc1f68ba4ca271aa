000100 IDENTIFICATION DIVISION.                                                 
000200 PROGRAM-ID. PAYROLL.                                                     
000300 PROCEDURE DIVISION.                                                      
