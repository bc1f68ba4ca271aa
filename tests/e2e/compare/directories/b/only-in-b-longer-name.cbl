only b
