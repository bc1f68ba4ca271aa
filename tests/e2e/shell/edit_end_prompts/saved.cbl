000100 IDENTIFICATION DIVISION.                                         PAYROLL 
000200 PROGRAM-ID. PAYROLL.                                             PAYROLL 
000300* Computes the gross pay of each employee from hours and rate.    PAYROLL 
