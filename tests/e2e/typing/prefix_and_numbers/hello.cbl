000100 IDENTIFICATION DIVISION.                                         HELLO   
000200 PROGRAM-ID. HELLO.                                               HELLO   
000300 PROCEDURE DIVISION.                                              HELLO   
