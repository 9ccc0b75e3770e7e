// Runs the message "123456789" through a crc_engine_core DATA_WIDTH bits a clock and
// checks the result against EXPECTED, the published check value of the CRC the
// parameters make. The message starts with init in the same clock as its first bits,
// after a word of another message, and has idle clocks between its words.
// Prints one line starting with PASS or FAIL.
module tb_crc_engine;
    parameter integer CRC_WIDTH = 32;
    parameter POLYNOMIAL = "04C11DB7";
    // divides 72, the message's length in bits
    parameter integer DATA_WIDTH = 8;
    parameter integer EXPECTED = 'h0376E6E7;

    localparam [71:0] MESSAGE = "123456789";

    reg clk = 0, init = 0, data_valid = 0;
    reg [DATA_WIDTH-1:0] data = 0;
    wire [CRC_WIDTH-1:0] crc;
    integer n, errors = 0;

    crc_engine_core #(.CRC_WIDTH(CRC_WIDTH), .POLYNOMIAL(POLYNOMIAL), .DATA_WIDTH(DATA_WIDTH))
        dut (.clk(clk), .init(init), .data_valid(data_valid), .data(data), .crc(crc));

    always #5 clk = ~clk;

    initial begin
        @(negedge clk) init = 1;
        @(negedge clk) init = 0;
        if (crc !== {CRC_WIDTH{1'b1}}) errors = errors + 1;
        data_valid = 1;
        data = {DATA_WIDTH{1'b1}};
        @(negedge clk);
        for (n = 0; n < 72 / DATA_WIDTH; n = n + 1) begin
            init = n == 0;
            data_valid = 1;
            data = MESSAGE[71 - n * DATA_WIDTH -: DATA_WIDTH];
            @(negedge clk) init = 0;
            data_valid = 0;
            data = ~data;
            @(negedge clk);
        end
        if (crc !== EXPECTED[CRC_WIDTH-1:0]) errors = errors + 1;
        if (errors == 0)
            $display("PASS crc %0d bits poly %0s by %0d bits: %h", CRC_WIDTH, POLYNOMIAL,
                     DATA_WIDTH, crc);
        else
            $display("FAIL crc %0d bits poly %0s by %0d bits: %h, expected %h", CRC_WIDTH,
                     POLYNOMIAL, DATA_WIDTH, crc, EXPECTED[CRC_WIDTH-1:0]);
        $finish;
    end
endmodule
