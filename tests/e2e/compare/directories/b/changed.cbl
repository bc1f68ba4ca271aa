abXdef
